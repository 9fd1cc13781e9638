#include "res/Resources.h"

#include <QFile>
#include <QtEndian>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

uint32_t le32(const QByteArray& bytes, qsizetype at)
{
    return qFromLittleEndian<uint32_t>(bytes.constData() + at);
}

uint16_t le16(const QByteArray& bytes, qsizetype at)
{
    return qFromLittleEndian<uint16_t>(bytes.constData() + at);
}

} // namespace

// The sound must be a plain PCM RIFF/WAVE that any player takes: consistent chunk sizes, short,
// audible, not clipped, and starting and ending near silence so that it does not click.
TEST(Sound, ChimeIsAValidShortWave)
{
    const QString path = SoundResourcePath(178);
    ASSERT_EQ(path, QStringLiteral(":/sound/178.wav"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray wav = file.readAll();
    ASSERT_GE(wav.size(), 44);
    EXPECT_EQ(wav.left(4), "RIFF");
    EXPECT_EQ(le32(wav, 4), uint32_t(wav.size() - 8));
    EXPECT_EQ(wav.mid(8, 4), "WAVE");

    qsizetype at = 12;
    QByteArray data;
    bool formatSeen = false;
    while (at + 8 <= wav.size()) {
        const QByteArray id = wav.mid(at, 4);
        const uint32_t size = le32(wav, at + 4);
        ASSERT_LE(at + 8 + qsizetype(size), wav.size()) << id.constData() << " runs past the end";
        if (id == "fmt ") {
            formatSeen = true;
            EXPECT_EQ(le16(wav, at + 8), 1);  // PCM
            EXPECT_EQ(le16(wav, at + 10), 1); // mono
            EXPECT_EQ(le32(wav, at + 12), 22050u);
            EXPECT_EQ(le32(wav, at + 16), 22050u * 2); // bytes per second
            EXPECT_EQ(le16(wav, at + 20), 2);          // bytes per frame
            EXPECT_EQ(le16(wav, at + 22), 16);
        } else if (id == "data") {
            data = wav.mid(at + 8, size);
        }
        at += 8 + size + (size & 1);
    }
    ASSERT_TRUE(formatSeen);
    const qsizetype samples = data.size() / 2;
    EXPECT_GE(samples, 22050 / 10);
    EXPECT_LE(samples, 22050);

    int peak = 0;
    for (qsizetype i = 0; i < samples; ++i)
        peak = std::max(peak, std::abs(int(qFromLittleEndian<int16_t>(data.constData() + 2 * i))));
    EXPECT_GT(peak, 8000);
    EXPECT_LT(peak, 32767);
    EXPECT_LT(std::abs(int(qFromLittleEndian<int16_t>(data.constData()))), 500);
    EXPECT_LT(std::abs(int(qFromLittleEndian<int16_t>(data.constData() + 2 * (samples - 1)))), 500);
}
