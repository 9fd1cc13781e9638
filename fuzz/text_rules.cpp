// The number and token rules of stored values against the C library and against each other.
#include "base/TextRules.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>

namespace {

void require(bool rule)
{
    if (!rule)
        std::abort();
}

// What C's atoi would give if it saturated at the 32-bit range instead of overflowing.
int32_t referenceAtoi(const std::string& text)
{
    const long long wide = std::strtoll(text.c_str(), nullptr, 10);
    return static_cast<int32_t>(std::clamp<long long>(wide, std::numeric_limits<int32_t>::min(),
                                                      std::numeric_limits<int32_t>::max()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const QString text = QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));

    require(Atoi(text) == referenceAtoi(bytes));

    int32_t value = 0;
    std::copy_n(bytes.begin(), std::min<size_t>(sizeof value, bytes.size()), reinterpret_cast<char*>(&value));
    const QString counter = FormatCounter(value);
    require(counter.size() >= 5 && Atoi(counter) == value);

    const QStringList tokens = SplitTokens(text, u',');
    QString collapsed;
    for (const QString& token : tokens) {
        require(!token.isEmpty() && !token.contains(u','));
        collapsed += (collapsed.isEmpty() ? QString() : QStringLiteral(",")) + token;
    }
    QString expected = text;
    while (expected.contains(QStringLiteral(",,")))
        expected.replace(QStringLiteral(",,"), QStringLiteral(","));
    if (expected.startsWith(u','))
        expected.remove(0, 1);
    if (expected.endsWith(u','))
        expected.chop(1);
    require(collapsed == expected);
    return 0;
}
