#pragma once

#include <QColor>
#include <QObject>

class QEvent;
class QLabel;

// Turns a text static of a dialog into a hyperlink: underlined, blue, purple once visited, red
// while the mouse is over it, with a hand cursor. A left click emits command() with the
// static's control ID, queued, so the dialog acts after the mouse press has been handled. The
// link has no context menu.
class CHLink : public QObject {
    Q_OBJECT
public:
    enum State { Normal = 0, Visited = 1, Hover = 2 };

    CHLink();

    // Makes the static `label`, found in its dialog by control ID `id`, this link.
    void attach(QLabel& label, int id);

    State state() const { return state_; }
    QColor textColour() const;

signals:
    void command(int id);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnMouseMove(bool inside);
    void OnLinkClicked();
    void repaint();

    const QColor normalColour_;
    const QColor visitedColour_;
    const QColor hoverColour_;
    State state_ = Normal;
    State stateBeforeHover_ = Normal;
    QLabel* label_ = nullptr;
    int id_ = 0;
};
