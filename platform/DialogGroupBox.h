#pragma once

#include <QGroupBox>

// A group box drawn as dialogs draw it: the frame's top line runs through the middle of the
// title. Drawn directly rather than through a style sheet, which would slow every dialog's start.
class DialogGroupBox : public QGroupBox {
    Q_OBJECT
public:
    DialogGroupBox(const QString& title, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};
