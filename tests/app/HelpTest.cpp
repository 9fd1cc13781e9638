#include "tests/app/AppTestFixture.h"

#include "base/AppConfig.h"
#include "platform/DialogBuilder.h"
#include "platform/HelpWindow.h"

#include <QPushButton>
#include <QUrl>

using namespace Qt::StringLiterals;

TEST_F(AppTest, HelpOpensTheWelcomePageOfTheCurrentLanguageAndNothingForOtherLanguages)
{
    writeSetting("Language", u"0"_s);
    CAppDlg& window = start();
    auto* helpButton = Control<QPushButton>(window, 100);

    appConfig().language = 7;
    helpButton->click();
    EXPECT_EQ(window.findChild<HelpWindow*>(), nullptr);

    appConfig().language = 0;
    helpButton->click();
    auto* help = window.findChild<HelpWindow*>();
    ASSERT_TRUE(help);
    EXPECT_TRUE(help->isVisible());
    EXPECT_EQ(help->page(), QUrl(u"qrc:/help/de/welcome.html"_s));
    EXPECT_FALSE(help->windowTitle().isEmpty());

    appConfig().language = 1;
    help->hide();
    helpButton->click();
    EXPECT_EQ(window.findChildren<HelpWindow*>().size(), 1);
    EXPECT_TRUE(help->isVisible());
    EXPECT_EQ(help->page(), QUrl(u"qrc:/help/en/welcome.html"_s));
}
