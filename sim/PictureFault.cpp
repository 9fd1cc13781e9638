#include "sim/PictureFault.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace {

constexpr std::array kNames{"none", "garbage", "truncated", "oversized", "close"};
constexpr qsizetype kLargestSegment = 65535 + 2; // marker and length field included

} // namespace

std::optional<PictureFault> pictureFaultFromName(const QString& name)
{
    for (std::size_t i = 0; i < kNames.size(); ++i)
        if (name == QLatin1String(kNames[i]))
            return static_cast<PictureFault>(i);
    return std::nullopt;
}

QString pictureFaultName(PictureFault fault)
{
    return QLatin1String(kNames[static_cast<std::size_t>(fault)]);
}

QByteArray garbagePicture(qsizetype size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    uint32_t state = 0x2545F491;
    for (char& byte : bytes) {
        state = state * 1664525u + 1013904223u;
        byte = static_cast<char>(state >> 24);
    }
    if (!bytes.isEmpty())
        bytes[0] = 'G'; // never the first byte of a JPEG start marker
    return bytes;
}

QByteArray truncatedPicture(const QByteArray& jpeg)
{
    return jpeg.left(jpeg.size() / 2);
}

QByteArray oversizedPicture(const QByteArray& jpeg, qsizetype size)
{
    if (jpeg.size() < 2 || size <= jpeg.size())
        return jpeg;
    QByteArray padding;
    padding.reserve(size - jpeg.size());
    qsizetype remaining = size - jpeg.size();
    while (remaining >= 4) {
        qsizetype segment = std::min(remaining, kLargestSegment);
        if (remaining - segment > 0 && remaining - segment < 4)
            segment = remaining - 4; // leave room for one more, minimal segment
        const qsizetype length = segment - 2;
        padding += '\xFF';
        padding += '\xFE';
        padding += static_cast<char>(length >> 8);
        padding += static_cast<char>(length & 0xFF);
        padding += QByteArray(segment - 4, ' ');
        remaining -= segment;
    }
    return jpeg.left(2) + padding + jpeg.mid(2) + QByteArray(remaining, '\0');
}
