#include "base/IniText.h"

#include <QByteArrayList>

#include <cstring>

namespace {

bool IsPlain(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'.' || c == u'_'
           || c == u'-' || c == u'/';
}

bool IsHexDigit(QChar c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

// A text in the escapes QSettings reads: in quotes unless it is plain, backslash escapes for
// quotes, backslashes and control characters. A hex escape would swallow a hex digit after it,
// so such a digit is escaped as well. A leading "@" would announce a typed value; it is doubled.
QByteArray IniValue(const QString& text)
{
    static const char kNamedControls[] = "\a\b\t\n\v\f\r";
    static const char kControlNames[] = "abtnvfr";
    QString escaped = text.startsWith(u'@') ? QStringLiteral("@") : QString();
    bool plain = true;
    bool afterHexEscape = false;
    for (const QChar c : text) {
        plain = plain && IsPlain(c);
        const char16_t code = c.unicode();
        const char* named = code > 0 && code < 0x20 ? std::strchr(kNamedControls, code) : nullptr;
        if (c == u'\\' || c == u'"') {
            escaped += u'\\';
            escaped += c;
        } else if (named) {
            escaped += u'\\';
            escaped += QLatin1Char(kControlNames[named - kNamedControls]);
        } else if (code < 0x20 || (afterHexEscape && IsHexDigit(c))) {
            escaped += QStringLiteral("\\x") + QString::number(code, 16);
            afterHexEscape = true;
            continue;
        } else {
            escaped += c;
        }
        afterHexEscape = false;
    }
    const QByteArray utf8 = escaped.toUtf8();
    return plain ? utf8 : '"' + utf8 + '"';
}

QByteArray KeyOf(const QByteArray& line)
{
    const qsizetype equals = line.indexOf('=');
    return equals < 0 ? QByteArray() : line.left(equals).trimmed();
}

} // namespace

QByteArray WithIniValues(const QByteArray& ini, const QString& section, const IniValues& values)
{
    QByteArrayList lines = ini.split('\n');
    if (lines.last().isEmpty())
        lines.removeLast();
    const QByteArray header = '[' + section.toUtf8() + ']';
    qsizetype start = 0;
    while (start < lines.size() && lines[start].trimmed() != header)
        ++start;
    if (start == lines.size())
        lines.append(header);
    qsizetype end = start + 1;
    while (end < lines.size() && !lines[end].trimmed().startsWith('['))
        ++end;

    for (const auto& [name, text] : values) {
        const QByteArray key = name.toUtf8();
        const QByteArray line = key + '=' + IniValue(text);
        qsizetype at = -1;
        for (qsizetype i = start + 1; i < end; ++i) {
            if (KeyOf(lines[i]) != key)
                continue;
            if (at < 0) {
                lines[i] = line;
                at = i;
            } else {
                // A value given twice: the one left is the new one.
                lines.removeAt(i--);
                --end;
            }
        }
        if (at >= 0)
            continue;
        qsizetype last = end;
        while (last > start + 1 && lines[last - 1].trimmed().isEmpty())
            --last;
        lines.insert(last, line);
        ++end;
    }
    return lines.join('\n') + '\n';
}
