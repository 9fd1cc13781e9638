#pragma once

#include "motion/DirectionControl.h"

#include <QHash>
#include <QList>
#include <QPair>

// The main window as direction control sees it: arrow rectangles to hit, and a log of what
// it was told to show.
class RecordingMotionView : public MotionView {
public:
    // Arrow rectangles in pixels, as the main window lays out its 20 x 20 dialog-unit icons.
    RecordingMotionView()
    {
        rects[200] = QRect(21, 270, 30, 32); // Left
        rects[201] = QRect(45, 247, 30, 32); // Up
        rects[202] = QRect(69, 270, 30, 32); // Right
        rects[203] = QRect(45, 292, 30, 32); // Down
    }

    void setArrowIcon(int controlId, int iconId) override { icons.append({controlId, iconId}); }
    QRect arrowRect(int controlId) const override { return rects.value(controlId); }
    void setPositionText(int controlId, const QString& text) override { texts.append({controlId, text}); }

    QPoint centreOf(int controlId) const { return rects.value(controlId).center(); }

    QHash<int, QRect> rects;
    QList<QPair<int, int>> icons;
    QList<QPair<int, QString>> texts;
};
