#pragma once

#include <QValidator>

class QLineEdit;

// Input rules of an edit control: digits only, and, without automatic scrolling, no more text
// than the visible width shows.
class EditValidator : public QValidator {
    Q_OBJECT
public:
    EditValidator(QLineEdit* edit, bool digitsOnly, bool fitVisibleWidth);

    State validate(QString& input, int& pos) const override;

private:
    bool fitsVisibleWidth(const QString& text) const;

    QLineEdit* edit_;
    bool digitsOnly_;
    bool fitVisibleWidth_;
};
