#pragma once

#include <QMenu>

class CIconMenu;

// The Qt menu of a CIconMenu. Its items are measured and drawn by the CIconMenu through
// IconMenuStyle; mnemonic letters choose nothing (only the mouse, arrows, Enter and Esc do).
class IconMenuWidget : public QMenu {
    Q_OBJECT
public:
    explicit IconMenuWidget(CIconMenu& owner);

    CIconMenu& owner() const { return owner_; }

protected:
    // Lets the style find the item an option belongs to.
    void initStyleOption(QStyleOptionMenuItem* option, const QAction* action) const override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    CIconMenu& owner_;
};
