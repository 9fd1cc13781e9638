#include "positions/dialogs/CInfoDlg.h"

#include "base/AppConfig.h"
#include "platform/DialogBuilder.h"
#include "platform/ExternalLaunch.h"
#include "tests/support/WaitUntil.h"

#include <gtest/gtest.h>

#include <QContextMenuEvent>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Records, as "program arguments..." or the URL, what the dialog would start.
struct RecordedLaunches {
    RecordedLaunches()
        : previous(SetExternalLauncher([this](const ExternalLaunch& launch) {
              launches.append(launch.program.isEmpty() ? launch.url.toString()
                                                       : (QStringList{launch.program} + launch.arguments).join(u' '));
              return launch.program.isEmpty() || programsStart;
          }))
    {
    }
    ~RecordedLaunches() { SetExternalLauncher(previous); }
    QStringList launches;
    bool programsStart = true;
    ExternalLauncher previous;
};

// Smoothed text edges blend the blue with the background.
bool bluish(QColor pixel)
{
    return pixel.blue() - pixel.red() > 80 && pixel.red() == pixel.green();
}

void clickLink(const CInfoDlg& dialog, int id, Qt::MouseButton button = Qt::LeftButton)
{
    QWidget* link = FindControl(dialog, id);
    QTest::mouseClick(link, button, {}, link->rect().center());
}

} // namespace

TEST(InfoDialog, ShowsItsTextsAndTheMakersNameInBothLanguages)
{
    for (const int32_t language : {0, 1}) {
        appConfig().language = language;
        CInfoDlg dialog(nullptr);
        EXPECT_EQ(dialog.windowTitle(), u"Info"_s);
        EXPECT_EQ(dialog.size(), QSize(350, 218));
        EXPECT_EQ(ControlText(dialog, CInfoDlg::kContactId), language == 0 ? u"Kontakt:"_s : u"Contact:"_s);
        EXPECT_EQ(ControlText(dialog, CInfoDlg::kMailId), u"mailto:kontakt@korvath.example.com"_s);
        EXPECT_EQ(FindControl(dialog, CInfoDlg::kWebId)->geometry(), QRect(86, 180, 245, 13));
        const QImage picture = dialog.grab().toImage();
        int blue = 0;
        for (int y = 110; y < 145; ++y)
            for (int x = 60; x < 140; ++x)
                blue += bluish(picture.pixelColor(x, y)) ? (x >= 85 && y >= 127 ? 1 : -1000) : 0;
        EXPECT_GT(blue, 20) << "\"Korvath\" starts at (85, 127), language " << language;
    }
    appConfig().language = 0;
}

TEST(InfoDialog, LinksAreColouredByStateAndOnlyALeftClickActs)
{
    RecordedLaunches launched;
    CInfoDlg dialog(nullptr);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    auto* web = Control<QLabel>(dialog, CInfoDlg::kWebId);
    const CHLink& link = dialog.link(CInfoDlg::kWebId);
    const auto colour = [web] { return web->palette().color(QPalette::WindowText); };
    QSignalSpy commands(&link, &CHLink::command);
    EXPECT_TRUE(web->font().underline());
    EXPECT_EQ(web->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(colour(), QColor(0, 0, 255));
    QTest::mouseMove(web, web->rect().center());
    EXPECT_EQ(colour(), QColor(255, 0, 0));
    QTest::mouseMove(&dialog, QPoint(5, 5));
    EXPECT_EQ(colour(), QColor(0, 0, 255));

    clickLink(dialog, CInfoDlg::kWebId, Qt::RightButton);
    QContextMenuEvent menuRequest(QContextMenuEvent::Mouse, QPoint(5, 5), web->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(web, &menuRequest);
    QCoreApplication::processEvents();
    EXPECT_TRUE(commands.isEmpty());
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);

    // The click is posted, so it acts only after the press has been handled.
    QTest::mouseMove(web, web->rect().center());
    QTest::mousePress(web, Qt::LeftButton, {}, web->rect().center());
    EXPECT_TRUE(commands.isEmpty());
    QTest::mouseRelease(web, Qt::LeftButton, {}, web->rect().center());
    WAIT_UNTIL_EQ(launched.launches.size(), 1);
    EXPECT_EQ(commands.size(), 1);
    EXPECT_EQ(commands.first().first().toInt(), CInfoDlg::kWebId);
    EXPECT_EQ(colour(), QColor(255, 0, 0));
    QTest::mouseMove(web, web->rect().center() + QPoint(1, 0));
    QTest::mouseMove(&dialog, QPoint(5, 5));
    EXPECT_EQ(link.state(), CHLink::Visited);
    EXPECT_EQ(colour(), QColor(128, 0, 128));
}

TEST(InfoDialog, TheWebLinkStartsTheBrowserAndStaysTheMailLinkClosesTheDialog)
{
    const QString web = u"https://www.korvath.example.com/"_s;
    const struct {
        const char* browser; // null: $BROWSER not set
        bool programStarts;
        QStringList launches;
    } cases[] = {
        {nullptr, true, {web}},
        {R"("/opt/Web Tools/browser" --new '%s')", true, {u"/opt/Web Tools/browser --new "_s + web}},
        // Each browser of the list is tried; when none starts the desktop opens the address.
        {"nothing::no-such --new", false, {u"nothing "_s + web, u"no-such --new "_s + web, web}},
    };
    for (const auto& c : cases) {
        RecordedLaunches launched;
        launched.programsStart = c.programStarts;
        c.browser ? qputenv("BROWSER", c.browser) : qunsetenv("BROWSER");
        CInfoDlg dialog(nullptr);
        dialog.show();
        clickLink(dialog, CInfoDlg::kWebId);
        WAIT_UNTIL_EQ(launched.launches, c.launches);
        EXPECT_TRUE(dialog.isVisible());
    }
    qunsetenv("BROWSER");

    RecordedLaunches launched;
    CInfoDlg dialog(nullptr);
    dialog.show();
    clickLink(dialog, CInfoDlg::kMailId);
    WAIT_UNTIL(!dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(launched.launches, QStringList{u"mailto:kontakt@korvath.example.com"_s});
}
