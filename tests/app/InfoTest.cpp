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
    dialogs.expect(u"CInfoDlg"_s, [](QDialog& info) { info.reject(); });
    auto* infoButton = Control<QPushButton>(window, 102);
    infoButton->click();
    infoButton->click();
    EXPECT_EQ(dialogs.shownCount(), 2);
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(infoButton->isEnabled());
}
