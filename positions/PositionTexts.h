#pragma once

#include <QString>

// The three texts the position dialog edits: the name, the X text and the Y text.
struct PositionTexts {
    static constexpr int kNameMaxChars = 50;
    static constexpr int kCounterMaxChars = 10;

    QString name;
    QString x;
    QString y;
};
