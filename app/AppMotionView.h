#pragma once

#include "motion/DirectionControl.h"

#include <QHash>
#include <QPixmap>

class QWidget;

// The arrows and position displays of the main window, as direction control sees them. Each
// arrow icon is drawn when it is first shown and kept for the window's life.
class AppMotionView : public MotionView {
public:
    explicit AppMotionView(QWidget& window);

    void setArrowIcon(int controlId, int iconId) override;
    QRect arrowRect(int controlId) const override;
    void setPositionText(int controlId, const QString& text) override;

private:
    QWidget& window_;
    QHash<int, QPixmap> icons_;
};
