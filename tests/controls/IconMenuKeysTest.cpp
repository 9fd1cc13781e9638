#include "controls/PositionListMenu.h"

#include <QApplication>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// Opens the context menu and types `keys` into it once it is up; the command it returns.
int ChooseWithKeys(const QList<int>& keys)
{
    QTimer::singleShot(0, [keys] {
        QWidget* popup = QApplication::activePopupWidget();
        ASSERT_NE(popup, nullptr);
        for (int key : keys) {
            if (QApplication::activePopupWidget() != popup)
                return;
            // keyClick types the letter's text too, as a keyboard would.
            QTest::keyClick(popup, static_cast<Qt::Key>(key));
        }
    });
    QWidget owner;
    return ShowPositionListMenu(&owner, QPoint(20, 20));
}

} // namespace

TEST(IconMenuKeys, ArrowsAndEnterChooseButMnemonicLettersDoNot)
{
    struct Case {
        QList<int> keys;
        int command;
    };
    const Case cases[] = {
        {{Qt::Key_Down, Qt::Key_Return}, 300},
        {{Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Enter}, 400},
        {{Qt::Key_Up, Qt::Key_Return}, 450},
        {{Qt::Key_Down, Qt::Key_Escape}, 0},
        {{Qt::Key_E, Qt::Key_P, Qt::Key_Escape}, 0},
        {{Qt::Key_Down, Qt::Key_B, Qt::Key_Space, Qt::Key_Return}, 300},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ChooseWithKeys(c.keys), c.command);
}
