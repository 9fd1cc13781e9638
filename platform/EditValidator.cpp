#include "platform/EditValidator.h"

#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionFrame>

#include <algorithm>

EditValidator::EditValidator(QLineEdit* edit, bool digitsOnly, bool fitVisibleWidth)
    : QValidator(edit), edit_(edit), digitsOnly_(digitsOnly), fitVisibleWidth_(fitVisibleWidth)
{}

QValidator::State EditValidator::validate(QString& input, int&) const
{
    if (digitsOnly_ && !std::all_of(input.cbegin(), input.cend(), [](QChar c) { return c.isDigit(); }))
        return Invalid;
    if (fitVisibleWidth_ && !fitsVisibleWidth(input))
        return Invalid;
    return Acceptable;
}

bool EditValidator::fitsVisibleWidth(const QString& text) const
{
    QStyleOptionFrame option;
    option.initFrom(edit_);
    option.lineWidth =
        edit_->hasFrame() ? edit_->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit_) : 0;
    const QRect contents = edit_->style()->subElementRect(QStyle::SE_LineEditContents, &option, edit_);
    const QMargins margins = edit_->textMargins();
    constexpr int kLineEditInnerMargin = 2; // QLineEdit keeps this much free on either side
    const int visible = contents.width() - margins.left() - margins.right() - 2 * kLineEditInnerMargin;
    return edit_->fontMetrics().horizontalAdvance(text) <= visible;
}
