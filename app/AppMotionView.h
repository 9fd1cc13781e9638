#pragma once

#include "motion/DirectionControl.h"
#include "motion/PatrolView.h"

#include <QHash>
#include <QPixmap>

class QWidget;

// The arrows and position displays of the main window as direction control sees them, and the
// buttons and the lamp as the patrol sees them. Each icon is drawn when it is first shown and
// kept for the window's life.
class AppMotionView : public MotionView, public PatrolView {
public:
    explicit AppMotionView(QWidget& window);

    void setArrowIcon(int controlId, int iconId) override;
    QRect arrowRect(int controlId) const override;
    void setPositionText(int controlId, const QString& text) override;
    void setButtonEnabled(int controlId, bool enabled) override;
    void setLamp(int bitmapId) override;

private:
    QWidget& window_;
    QHash<int, QPixmap> icons_;
    QHash<int, QPixmap> lamps_;
};
