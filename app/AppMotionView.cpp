#include "app/AppMotionView.h"

#include "app/AppDlgTemplate.h"
#include "platform/DialogBuilder.h"
#include "res/Resources.h"

#include <QWidget>

AppMotionView::AppMotionView(QWidget& window) : window_(window) {}

void AppMotionView::setArrowIcon(int controlId, int iconId)
{
    auto icon = icons_.constFind(iconId);
    if (icon == icons_.cend())
        icon = icons_.insert(iconId, IconResource(iconId));
    SetControlPicture(window_, controlId, iconId, *icon);
}

QRect AppMotionView::arrowRect(int controlId) const
{
    const QWidget* arrow = FindControl(window_, controlId);
    return arrow ? arrow->geometry() : QRect();
}

void AppMotionView::setPositionText(int controlId, const QString& text)
{
    SetControlText(window_, controlId, text);
}

void AppMotionView::setButtonEnabled(int controlId, bool enabled)
{
    if (QWidget* button = FindControl(window_, controlId))
        button->setEnabled(enabled);
}

void AppMotionView::setLamp(int bitmapId)
{
    auto lamp = lamps_.constFind(bitmapId);
    if (lamp == lamps_.cend())
        lamp = lamps_.insert(bitmapId, BitmapResource(bitmapId));
    SetControlPicture(window_, AppDlgId::Lamp, bitmapId, *lamp);
}
