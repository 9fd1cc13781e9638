#include "positions/dialogs/CInfoDlg.h"

#include "base/AppConfig.h"
#include "platform/DialogBuilder.h"
#include "platform/ExternalLaunch.h"

#include <gtest/gtest.h>

#include <QContextMenuEvent>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Records what the dialog would start instead of starting it.
class RecordedLaunches {
public:
    RecordedLaunches()
    {
        previous_ = SetExternalLauncher([this](const ExternalLaunch& launch) {
            launches.append(launch);
            return launch.program.isEmpty() || programsStart;
        });
    }
    ~RecordedLaunches() { SetExternalLauncher(previous_); }

    QList<ExternalLaunch> launches;
    bool programsStart = true;

private:
    ExternalLauncher previous_;
};

// Sets or, with a null value, removes $BROWSER for one test.
class BrowserVariable {
public:
    explicit BrowserVariable(const QString& command)
    {
        if (command.isNull())
            qunsetenv("BROWSER");
        else
            qputenv("BROWSER", command.toUtf8());
    }
    ~BrowserVariable() { qunsetenv("BROWSER"); }
};

QLabel* label(const QDialog& dialog, int id)
{
    return Control<QLabel>(dialog, id);
}

// Text is drawn with smoothed edges, so its pixels are blue blended with the background.
bool bluish(QColor pixel)
{
    return pixel.blue() - pixel.red() > 80 && pixel.red() == pixel.green();
}

QPoint middle(const QWidget* widget)
{
    return widget->rect().center();
}

} // namespace

TEST(InfoDialog, ShowsItsTemplateAndTheMakersNameInBothLanguages)
{
    for (const int32_t language : {0, 1}) {
        appConfig().language = language;
        CInfoDlg dialog(nullptr);
        EXPECT_EQ(dialog.windowTitle(), u"Info"_s);
        EXPECT_EQ(dialog.size(), QSize(350, 218));
        EXPECT_EQ(ControlText(dialog, CInfoDlg::kContactId), language == 0 ? u"Kontakt:"_s : u"Contact:"_s);
        EXPECT_EQ(ControlText(dialog, CInfoDlg::kMailId), u"mailto:kontakt@korvath.example.com"_s);
        EXPECT_EQ(ControlText(dialog, CInfoDlg::kWebId), u"https://www.korvath.example.com/"_s);
        EXPECT_EQ(label(dialog, CInfoDlg::kMailId)->geometry(), QRect(86, 161, 245, 13));
        EXPECT_EQ(label(dialog, CInfoDlg::kWebId)->geometry(), QRect(86, 180, 245, 13));
        auto* ok = Control<QPushButton>(dialog, CInfoDlg::kOkId);
        EXPECT_TRUE(ok->isDefault());
        const QStringList texts = [&] {
            QStringList all;
            for (const QLabel* each : dialog.findChildren<QLabel*>())
                all.append(each->text());
            return all;
        }();
        EXPECT_TRUE(texts.contains(u"Pantiro PC   -  Version 1.001"_s));
        EXPECT_TRUE(texts.contains(u"E-Mail"_s));
        EXPECT_TRUE(texts.contains(u"Web"_s));

        // "Korvath" is painted in blue right of "Kontakt:", starting at (85, 127).
        const QImage picture = dialog.grab().toImage();
        int bluePixels = 0;
        for (int y = 127; y < 145; ++y)
            for (int x = 85; x < 140; ++x)
                bluePixels += bluish(picture.pixelColor(x, y)) ? 1 : 0;
        EXPECT_GT(bluePixels, 20) << "language " << language;
        for (int y = 110; y < 127; ++y)
            for (int x = 60; x < 84; ++x)
                ASSERT_FALSE(bluish(picture.pixelColor(x, y))) << x << "," << y;
    }
    appConfig().language = 0;
}

TEST(InfoDialog, LinksAreColouredByStateAndOnlyALeftClickActs)
{
    RecordedLaunches launched;
    BrowserVariable noBrowser{QString()};
    CInfoDlg dialog(nullptr);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    QLabel* web = label(dialog, CInfoDlg::kWebId);
    const CHLink* link = &dialog.link(CInfoDlg::kWebId);
    QSignalSpy commands(link, &CHLink::command);
    EXPECT_TRUE(web->font().underline());
    EXPECT_EQ(web->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(web->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    EXPECT_EQ(web->palette().color(QPalette::WindowText), link->textColour());

    QTest::mouseMove(web, middle(web));
    EXPECT_EQ(link->state(), CHLink::Hover);
    EXPECT_EQ(web->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    QTest::mouseMove(&dialog, QPoint(5, 5));
    EXPECT_EQ(link->state(), CHLink::Normal);
    EXPECT_EQ(web->palette().color(QPalette::WindowText), QColor(0, 0, 255));

    // A right click and a context menu request do nothing at all.
    QTest::mouseClick(web, Qt::RightButton, {}, middle(web));
    QContextMenuEvent menuRequest(QContextMenuEvent::Mouse, middle(web), web->mapToGlobal(middle(web)));
    QApplication::sendEvent(web, &menuRequest);
    QCoreApplication::processEvents();
    EXPECT_TRUE(commands.isEmpty());
    EXPECT_TRUE(launched.launches.isEmpty());
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);

    // A left click is posted: nothing happens before the press has been handled.
    QTest::mouseMove(web, middle(web));
    QTest::mousePress(web, Qt::LeftButton, {}, middle(web));
    EXPECT_TRUE(commands.isEmpty());
    QTest::mouseRelease(web, Qt::LeftButton, {}, middle(web));
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    ASSERT_EQ(commands.size(), 1);
    EXPECT_EQ(commands.first().first().toInt(), CInfoDlg::kWebId);
    EXPECT_EQ(link->state(), CHLink::Visited);
    // The visited colour shows once the mouse has left.
    EXPECT_EQ(web->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    QTest::mouseMove(web, middle(web) + QPoint(1, 0));
    EXPECT_EQ(link->state(), CHLink::Hover);
    QTest::mouseMove(&dialog, QPoint(5, 5));
    EXPECT_EQ(link->state(), CHLink::Visited);
    EXPECT_EQ(web->palette().color(QPalette::WindowText), QColor(128, 0, 128));
    // The other link is untouched.
    EXPECT_EQ(dialog.link(CInfoDlg::kMailId).state(), CHLink::Normal);
}

TEST(InfoDialog, TheWebLinkStartsTheBrowserAndStaysTheMailLinkClosesTheDialog)
{
    struct WebCase {
        QString browser; // null: $BROWSER not set
        bool programStarts;
        QList<QStringList> launches; // program and arguments, or the URL alone
    };
    const QString web = u"https://www.korvath.example.com/"_s;
    const QList<WebCase> cases{
        {QString(), true, {{web}}},
        {u""_s, true, {{web}}},
        {u"firefox --new-window"_s, true, {{u"firefox"_s, u"--new-window"_s, web}}},
        {uR"("C:\Web Tools\browser.exe" "%1")"_s, true, {{uR"(C:\Web Tools\browser.exe)"_s, web}}},
        // A browser that cannot be started leaves the address to the desktop.
        {u"no-such-browser"_s, false, {{u"no-such-browser"_s, web}, {web}}},
    };
    for (const WebCase& c : cases) {
        RecordedLaunches launched;
        launched.programsStart = c.programStarts;
        BrowserVariable browser(c.browser);
        CInfoDlg dialog(nullptr);
        dialog.show();
        QLabel* webLink = label(dialog, CInfoDlg::kWebId);
        QTest::mouseClick(webLink, Qt::LeftButton, {}, middle(webLink));
        QTRY_COMPARE(launched.launches.size(), c.launches.size());
        for (qsizetype i = 0; i < c.launches.size(); ++i) {
            const ExternalLaunch& got = launched.launches[i];
            const QStringList gotParts = got.program.isEmpty()
                                             ? QStringList{got.url.toString()}
                                             : QStringList{got.program} + got.arguments;
            EXPECT_EQ(gotParts, c.launches[i]) << c.browser.toStdString();
        }
        EXPECT_TRUE(dialog.isVisible());
    }

    RecordedLaunches launched;
    CInfoDlg dialog(nullptr);
    dialog.show();
    QLabel* mail = label(dialog, CInfoDlg::kMailId);
    QTest::mouseClick(mail, Qt::LeftButton, {}, middle(mail));
    QTRY_VERIFY(!dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    ASSERT_EQ(launched.launches.size(), 1);
    EXPECT_EQ(launched.launches.first().url, QUrl(u"mailto:kontakt@korvath.example.com"_s));
    EXPECT_TRUE(launched.launches.first().program.isEmpty());
}
