#include "platform/DialogBuilder.h"

#include "platform/DialogGroupBox.h"
#include "platform/EditValidator.h"
#include "platform/IpAddressEdit.h"
#include "res/Resources.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>

#include <algorithm>

namespace {

const char* const kControlIdProperty = "controlId";
const char* const kPictureIdProperty = "pictureId";
constexpr int kIconSize = 32;

QLabel* makeLabel(QWidget& window, const ControlSpec& entry, Qt::Alignment alignment)
{
    auto* label = new QLabel(entry.text, &window);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(alignment);
    label->setWordWrap(true);
    return label;
}

QPixmap pictureOf(const ControlSpec& entry)
{
    return entry.kind == ControlKind::Icon ? IconResource(entry.picture, kIconSize) : BitmapResource(entry.picture);
}

QLineEdit* makeEdit(QWidget& window, const ControlSpec& entry)
{
    auto* edit = new QLineEdit(entry.text, &window);
    if (entry.maxLength > 0)
        edit->setMaxLength(entry.maxLength);
    const bool digitsOnly = (entry.flags & ControlFlag::DigitsOnly) != 0;
    const bool fitVisibleWidth = (entry.flags & ControlFlag::AutoHScroll) == 0;
    if (digitsOnly || fitVisibleWidth)
        edit->setValidator(new EditValidator(edit, digitsOnly, fitVisibleWidth));
    if ((entry.flags & ControlFlag::Password) != 0)
        edit->setEchoMode(QLineEdit::Password);
    return edit;
}

QWidget* makeControl(QWidget& window, const ControlSpec& entry)
{
    switch (entry.kind) {
    case ControlKind::GroupBox:
        return new DialogGroupBox(entry.text, &window);
    case ControlKind::Text:
        return makeLabel(window, entry, Qt::AlignLeft | Qt::AlignTop);
    case ControlKind::CentredText:
        return makeLabel(window, entry, Qt::AlignHCenter | Qt::AlignTop);
    case ControlKind::Icon:
    case ControlKind::Bitmap:
        return new QLabel(&window);
    case ControlKind::PushButton:
    case ControlKind::DefaultPushButton: {
        auto* button = new QPushButton(entry.text, &window);
        button->setDefault(entry.kind == ControlKind::DefaultPushButton);
        return button;
    }
    case ControlKind::AutoRadio:
    case ControlKind::Radio: {
        auto* radio = new QRadioButton(entry.text, &window);
        radio->setAutoExclusive(entry.kind == ControlKind::AutoRadio);
        return radio;
    }
    case ControlKind::CheckBox:
        return new QCheckBox(entry.text, &window);
    case ControlKind::Edit:
        return makeEdit(window, entry);
    case ControlKind::DropDownList:
        return new QComboBox(&window);
    case ControlKind::IpAddress:
        return new IpAddressEdit(&window);
    }
    return nullptr;
}

void showPicture(QLabel& label, int pictureId, const QPixmap& picture)
{
    label.setPixmap(picture);
    label.setProperty(kPictureIdProperty, pictureId);
    if (!picture.isNull())
        label.resize(picture.deviceIndependentSize().toSize());
}

bool passesMouseOn(const ControlSpec& entry)
{
    switch (entry.kind) {
    case ControlKind::GroupBox:
    case ControlKind::Text:
    case ControlKind::CentredText:
    case ControlKind::Icon:
    case ControlKind::Bitmap:
        return (entry.flags & ControlFlag::Notify) == 0;
    default:
        return false;
    }
}

void place(QWidget& control, const ControlSpec& entry)
{
    QRect rect = DialogUnitsToPixels(entry.x, entry.y, entry.width, entry.height);
    if (auto* combo = qobject_cast<QComboBox*>(&control)) {
        // The template's height is that of the open list; the closed box is one line high.
        const int closedHeight = combo->sizeHint().height();
        combo->setMaxVisibleItems(std::max(1, (rect.height() - closedHeight) / combo->fontMetrics().height()));
        rect.setHeight(closedHeight);
    }
    control.setGeometry(rect);
}

} // namespace

QFont DialogFont()
{
    QFont font(QStringLiteral("Liberation Sans"), 8);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

void BuildDialog(QWidget& window, const DialogTemplate& dialogTemplate)
{
    window.setWindowTitle(dialogTemplate.caption);
    window.setFont(DialogFont());
    window.setFixedSize(DialogUnitsToPixelsX(dialogTemplate.width), DialogUnitsToPixelsY(dialogTemplate.height));
    for (const ControlSpec& entry : dialogTemplate.controls) {
        QWidget* control = makeControl(window, entry);
        control->setProperty(kControlIdProperty, entry.id);
        place(*control, entry);
        if (entry.kind == ControlKind::Icon || entry.kind == ControlKind::Bitmap)
            showPicture(*static_cast<QLabel*>(control), entry.picture, pictureOf(entry));
        control->setEnabled((entry.flags & ControlFlag::Disabled) == 0);
        control->setAttribute(Qt::WA_TransparentForMouseEvents, passesMouseOn(entry));
    }
}

QWidget* FindControl(const QWidget& window, int id)
{
    const auto children = window.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (QWidget* child : children) {
        const QVariant childId = child->property(kControlIdProperty);
        if (childId.isValid() && childId.toInt() == id)
            return child;
    }
    return nullptr;
}

bool SetControlText(const QWidget& window, int id, const QString& text)
{
    QWidget* control = FindControl(window, id);
    if (auto* button = qobject_cast<QAbstractButton*>(control))
        button->setText(text);
    else if (auto* label = qobject_cast<QLabel*>(control))
        label->setText(text);
    else if (auto* group = qobject_cast<QGroupBox*>(control))
        group->setTitle(text);
    else if (auto* edit = qobject_cast<QLineEdit*>(control))
        edit->setText(text);
    else
        return false;
    return true;
}

QString ControlText(const QWidget& window, int id)
{
    QWidget* control = FindControl(window, id);
    if (auto* button = qobject_cast<QAbstractButton*>(control))
        return button->text();
    if (auto* label = qobject_cast<QLabel*>(control))
        return label->text();
    if (auto* group = qobject_cast<QGroupBox*>(control))
        return group->title();
    if (auto* edit = qobject_cast<QLineEdit*>(control))
        return edit->text();
    return {};
}

bool SetControlPicture(const QWidget& window, int id, int pictureId, const QPixmap& picture)
{
    auto* label = qobject_cast<QLabel*>(FindControl(window, id));
    if (!label)
        return false;
    showPicture(*label, pictureId, picture);
    return true;
}
