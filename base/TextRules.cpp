#include "base/TextRules.h"

#include <limits>

int32_t Atoi(QStringView text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && (text[i] == u' ' || (text[i] >= u'\t' && text[i] <= u'\r')))
        ++i;
    bool negative = false;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    int64_t value = 0;
    constexpr int64_t limit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
    for (; i < n && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        value = value * 10 + (text[i].unicode() - u'0');
        if (value > limit)
            value = limit;
    }
    if (negative)
        return static_cast<int32_t>(-value);
    return static_cast<int32_t>(value >= limit ? limit - 1 : value);
}

QString FormatCounter(int32_t value)
{
    return QString::asprintf("%05d", value);
}

QStringList SplitTokens(QStringView text, QChar separator)
{
    QStringList tokens;
    for (QStringView token : text.split(separator, Qt::SkipEmptyParts))
        tokens.append(token.toString());
    return tokens;
}
