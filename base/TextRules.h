#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>

// The number and token rules that stored values and list cells follow.

// Leading white space, an optional sign, then decimal digits up to the first other character;
// 0 without digits. Values beyond 32 bits saturate.
int32_t Atoi(QStringView text);

// "%05d": at least five characters, zeros after the sign (120 -> 00120, -10 -> -0010).
QString FormatCounter(int32_t value);

// The non-empty runs between separators, in order: runs of separators and separators at
// either end yield no empty tokens.
QStringList SplitTokens(QStringView text, QChar separator);
