#include "tests/app/AppTestFixture.h"

#include "platform/DialogBuilder.h"

#include <QDialog>
#include <QPushButton>

using namespace Qt::StringLiterals;

TEST_F(AppTest, InfoOpensTheInfoDialogAndItsResultChangesNothing)
{
    writeSetting("Language", u"1"_s);
    CAppDlg& window = start();
    dialogs.expect(u"CInfoDlg"_s, [&](QDialog& info) {
        EXPECT_EQ(info.parentWidget(), &window);
        EXPECT_EQ(ControlText(info, 51), u"Contact:"_s);
        Control<QPushButton>(info, 1)->click();
    });
    Control<QPushButton>(window, 102)->click();
    EXPECT_TRUE(window.isVisible());
}
