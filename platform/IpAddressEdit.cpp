#include "platform/IpAddressEdit.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QValidator>

#include <algorithm>

namespace {

// One field: up to three digits of at most 255.
class OctetValidator : public QValidator {
public:
    using QValidator::QValidator;

    State validate(QString& input, int&) const override
    {
        bool number = false;
        const int value = input.toInt(&number);
        const bool digitsOnly = std::all_of(input.cbegin(), input.cend(), [](QChar c) { return c.isDigit(); });
        return input.isEmpty() || (number && digitsOnly && value <= 255) ? Acceptable : Invalid;
    }
};

} // namespace

IpAddressEdit::IpAddressEdit(QWidget* parent) : QFrame(parent)
{
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 0, 2, 0);
    layout->setSpacing(0);
    for (size_t i = 0; i < fields_.size(); ++i) {
        if (i > 0)
            layout->addWidget(new QLabel(QStringLiteral("."), this));
        QLineEdit* edit = new QLineEdit(this);
        edit->setFrame(false);
        edit->setAlignment(Qt::AlignCenter);
        edit->setMaxLength(3);
        edit->setValidator(new OctetValidator(edit));
        edit->installEventFilter(this);
        const int index = static_cast<int>(i);
        connect(edit, &QLineEdit::textEdited, this, [this, index](const QString& text) {
            if (text.size() == 3)
                focusField(index + 1);
        });
        layout->addWidget(edit, 1);
        fields_[i] = edit;
    }
}

void IpAddressEdit::setAddress(const Octets& octets)
{
    for (size_t i = 0; i < fields_.size(); ++i)
        fields_[i]->setText(QString::number(octets[i] & 0xFF));
}

IpAddressEdit::Octets IpAddressEdit::address() const
{
    Octets octets{};
    for (size_t i = 0; i < fields_.size(); ++i)
        octets[i] = fields_[i]->text().toInt();
    return octets;
}

bool IpAddressEdit::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Period) {
        const auto at = std::find(fields_.cbegin(), fields_.cend(), watched);
        if (at != fields_.cend()) {
            focusField(static_cast<int>(at - fields_.cbegin()) + 1);
            return true;
        }
    }
    return QFrame::eventFilter(watched, event);
}

void IpAddressEdit::focusField(int index)
{
    if (index < 0 || index >= static_cast<int>(fields_.size()))
        return;
    QLineEdit* next = fields_.at(static_cast<size_t>(index));
    next->setFocus(Qt::TabFocusReason);
    next->selectAll();
}
