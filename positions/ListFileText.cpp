#include "positions/ListFileText.h"

#include <QStringDecoder>

#include <array>

namespace {

// Windows-1252 differs from Latin-1 only in 0x80 to 0x9F; its five unused codes keep their
// Latin-1 values, as the Windows conversion does.
constexpr std::array<char16_t, 32> kWindows1252High = {
    u'\u20AC', u'\u0081', u'\u201A', u'\u0192', u'\u201E', u'\u2026', u'\u2020', u'\u2021',
    u'\u02C6', u'\u2030', u'\u0160', u'\u2039', u'\u0152', u'\u008D', u'\u017D', u'\u008F',
    u'\u0090', u'\u2018', u'\u2019', u'\u201C', u'\u201D', u'\u2022', u'\u2013', u'\u2014',
    u'\u02DC', u'\u2122', u'\u0161', u'\u203A', u'\u0153', u'\u009D', u'\u017E', u'\u0178',
};

QString DecodeWindows1252(const QByteArray& bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        text[i] = byte >= 0x80 && byte <= 0x9F ? QChar(kWindows1252High[byte - 0x80]) : QChar(char16_t{byte});
    }
    return text;
}

} // namespace

QString DecodeListFile(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(bytes);
    return utf8.hasError() ? DecodeWindows1252(bytes) : text;
}

QStringList SplitListPieces(const QString& text)
{
    // Read in text mode, CR LF is one LF; files of older systems end their lines in a CR alone.
    QString lines = text;
    lines.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    lines.replace(u'\r', u'\n');
    QStringList pieces;
    qsizetype start = 0;
    while (start < lines.size()) {
        qsizetype end = qMin(start + kListPieceMaxChars, lines.size());
        // Only within the piece: a search to the end of the text for every piece would take
        // minutes on a large file without line feeds.
        const qsizetype lineFeed = QStringView(lines).sliced(start, end - start).indexOf(u'\n');
        if (lineFeed >= 0)
            end = start + lineFeed + 1;
        else if (end < lines.size() && lines[end - 1].isHighSurrogate())
            --end;
        pieces.append(lines.mid(start, end - start));
        start = end;
    }
    return pieces;
}

QString CutWithoutSplitting(const QString& text, int maxChars)
{
    if (text.size() <= maxChars)
        return text;
    const qsizetype end = maxChars > 0 && text[maxChars - 1].isHighSurrogate() ? maxChars - 1 : maxChars;
    return text.left(end);
}
