#include "sim/Faults.h"

#include <optional>

namespace {

std::optional<long long> wholeNumber(const std::string& text, long long lowest, long long highest)
{
    bool ok = false;
    const long long value = QString::fromStdString(text).toLongLong(&ok);
    if (!ok || value < lowest || value > highest)
        return std::nullopt;
    return value;
}

} // namespace

Faults::Settings Faults::current() const
{
    std::lock_guard lock(mutex_);
    return settings_;
}

QString Faults::update(const std::multimap<std::string, std::string>& changes)
{
    std::lock_guard lock(mutex_);
    Settings next = changes.count("clear") ? Settings{} : settings_;
    for (const auto& [key, value] : changes) {
        if (key == "clear")
            continue;
        if (key == "delay") {
            const auto ms = wholeNumber(value, 0, kLongestDelayMs);
            if (!ms)
                return QStringLiteral("delay must be 0 to %1 ms").arg(kLongestDelayMs);
            next.delayMs = static_cast<int>(*ms);
        } else if (key == "status") {
            const auto status = wholeNumber(value, 0, 599);
            if (!status || (*status != 0 && *status < 300))
                return QStringLiteral("status must be 300 to 599, or 0 for none");
            next.status = static_cast<int>(*status);
        } else if (key == "picture") {
            const auto fault = pictureFaultFromName(QString::fromStdString(value));
            if (!fault)
                return QStringLiteral("picture must be none, garbage, truncated, oversized or close");
            next.picture = *fault;
        } else if (key == "bytes") {
            const auto bytes = wholeNumber(value, 1, kLargestOversizedBytes);
            if (!bytes)
                return QStringLiteral("bytes must be 1 to %1").arg(kLargestOversizedBytes);
            next.oversizedBytes = static_cast<qsizetype>(*bytes);
        } else {
            return QStringLiteral("unknown fault: %1").arg(QString::fromStdString(key));
        }
    }
    settings_ = next;
    return {};
}
