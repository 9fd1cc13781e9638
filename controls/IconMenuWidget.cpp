#include "controls/IconMenuWidget.h"

#include "controls/CIconMenu.h"
#include "controls/IconMenuStyle.h"

#include <QKeyEvent>
#include <QStyleOptionMenuItem>

IconMenuWidget::IconMenuWidget(CIconMenu& owner) : owner_(owner)
{
    setStyle(IconMenuStyle::instance());
}

void IconMenuWidget::initStyleOption(QStyleOptionMenuItem* option, const QAction* action) const
{
    QMenu::initStyleOption(option, action);
    if (owner_.ItemOf(action))
        option->styleObject = const_cast<QAction*>(action);
}

void IconMenuWidget::keyPressEvent(QKeyEvent* event)
{
    // The menu answers no menu characters: a typed letter (or space) neither chooses nor moves.
    const QString text = event->text();
    if (!text.isEmpty() && text.at(0).isPrint()) {
        event->accept();
        return;
    }
    QMenu::keyPressEvent(event);
}
