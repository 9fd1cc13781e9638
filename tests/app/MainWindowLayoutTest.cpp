#include "tests/app/AppTestFixture.h"

#include "base/AppConfig.h"
#include "controls/CReportListCtrl.h"
#include "platform/DialogBuilder.h"

using namespace Qt::StringLiterals;

namespace {

struct Expected {
    int id;
    QRect pixels;
    QString german;
    QString english;
};

// APPDLG converted by hand: x * 1.5 and y * 1.625, each rounded; pictures at their own size.
const Expected kControls[] = {
    {50, {11, 5, 204, 200}, u"Live"_s, u"Live"_s},
    {51, {221, 5, 240, 322}, u"Beobachtung"_s, u"View"_s},
    {52, {12, 205, 105, 122}, u"Manuell"_s, u"Manually"_s},
    {53, {123, 205, 92, 122}, u"Automatik"_s, u"Automatic"_s},
    {201, {45, 247, 32, 32}, {}, {}},
    {200, {21, 270, 32, 32}, {}, {}},
    {202, {69, 270, 32, 32}, {}, {}},
    {203, {45, 293, 32, 32}, {}, {}},
    {220, {14, 229, 45, 13}, {}, {}},
    {221, {66, 229, 45, 13}, {}, {}},
    {170, {129, 245, 78, 23}, u"Start"_s, u"Start"_s},
    {171, {129, 273, 78, 23}, u"Stopp"_s, u"Stop"_s},
    {180, {161, 232, 14, 6}, {}, {}},
    {300, {230, 297, 60, 23}, u"Neu"_s, u"New"_s},
    {301, {294, 297, 78, 23}, u"Aktualisieren"_s, u"Update"_s},
    {302, {377, 297, 78, 23}, u"Entfernen"_s, u"Remove"_s},
    {103, {11, 335, 75, 23}, u"Nullsetzen"_s, u"Set Null"_s},
    {100, {89, 335, 75, 23}, u"Hilfe"_s, u"Help"_s},
    {101, {168, 335, 117, 23}, u"Einstellungen"_s, u"Settings"_s},
    {102, {290, 335, 78, 23}, u"Info"_s, u"Info"_s},
    {150, {374, 335, 87, 23}, u"Beenden"_s, u"Exit"_s},
    {600, {232, 25, 221, 265}, {}, {}},
};

QString heading(const CReportListCtrl& list, int column)
{
    return list.model()->headerData(column, Qt::Horizontal).toString();
}

} // namespace

TEST_F(AppTest, EveryControlOfTheMainWindowIsAtItsPlaceWithItsCaptionInBothLanguages)
{
    for (int language : {0, 1}) {
        writeSetting("Language", QString::number(language));
        CAppDlg& window = start();
        EXPECT_EQ(window.size(), QSize(471, 369));
        EXPECT_EQ(window.windowTitle(), u"Pantiro [Mobotix]"_s);
        for (const Expected& control : kControls) {
            const QWidget* widget = FindControl(window, control.id);
            ASSERT_TRUE(widget) << control.id;
            EXPECT_EQ(widget->geometry(), control.pixels) << control.id;
            if (!control.german.isEmpty()) {
                EXPECT_EQ(ControlText(window, control.id), language == 0 ? control.german : control.english)
                    << control.id;
            }
        }
        EXPECT_FALSE(FindControl(window, 171)->isEnabled());
        for (const auto& [id, icon] : {std::pair{201, 179}, {200, 177}, {202, 175}, {203, 180}, {180, 168}})
            EXPECT_EQ(FindControl(window, id)->property("pictureId").toInt(), icon) << id;
        stop();
    }
}

TEST_F(AppTest, ThePositionListHasItsColumnsAndThreeFixedRows)
{
    writeSetting("Language", u"0"_s);
    CReportListCtrl* list = start().listControl();
    ASSERT_TRUE(list);
    EXPECT_EQ(list->model()->columnCount(), 3);
    EXPECT_EQ(heading(*list, 0), u"Name"_s);
    EXPECT_EQ(list->columnWidth(0), 100);
    EXPECT_EQ(list->columnWidth(1), 50);
    EXPECT_EQ(list->columnWidth(2), 50);
    ASSERT_EQ(list->GetItemCount(), 3);
    const std::pair<QString, int> rows[] = {{u"Referenzfahrt"_s, 10}, {u"Nullfahrt"_s, 10}, {u"Pause"_s, 6}};
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(list->GetItemText(row, 0), rows[row].first);
        EXPECT_EQ(list->GetItemImage(row), rows[row].second);
        EXPECT_EQ(list->GetItemText(row, 1), u"00000"_s);
        EXPECT_EQ(list->GetItemText(row, 2), u"00000"_s);
    }
    const uint32_t exStyle = list->GetExtendedStyle();
    EXPECT_EQ(exStyle & 0x433u, 0x433u);
}

TEST_F(AppTest, ApplyLanguageRenamesCaptionsAndFixedRowsButNotHeadingsTitleOrTip)
{
    writeSetting("Language", u"0"_s);
    CAppDlg& window = start();
    CReportListCtrl* list = window.listControl();

    appConfig().language = 1;
    window.ApplyLanguage();
    EXPECT_EQ(ControlText(window, 53), u"Automatic"_s);
    EXPECT_EQ(ControlText(window, 103), u"Set Null"_s);
    EXPECT_EQ(list->GetItemText(0, 0), u"Reference"_s);
    EXPECT_EQ(list->GetItemText(1, 0), u"Null"_s);
    EXPECT_EQ(list->GetItemText(2, 0), u"Pause"_s);
    EXPECT_EQ(heading(*list, 0), u"Name"_s);
    EXPECT_EQ(window.windowTitle(), u"Pantiro [Mobotix]"_s);
    EXPECT_EQ(window.tray().tip(), u"Korvath - Pantiro"_s);
}

// The list draws from the window's image list; were it left to QWidget's destructor it would
// outlive the images. Under AddressSanitizer this also shows that no part of the end reads freed memory.
TEST_F(AppTest, ThePositionListIsGoneBeforeTheWindowsOwnPartsAreDestroyed)
{
    writeSetting("Language", u"0"_s);
    CAppDlg& window = start();
    CReportListCtrl* list = window.listControl();
    ASSERT_NE(list, nullptr);
    list->grab(); // paints its rows, pictures included
    bool windowWholeAtListEnd = false;
    // Asked through QObject: once the window's own destructor has run, it is only a QWidget.
    const QObject* windowObject = &window;
    QObject::connect(list, &QObject::destroyed, [windowObject, &windowWholeAtListEnd] {
        windowWholeAtListEnd = windowObject->metaObject() == &CAppDlg::staticMetaObject;
    });
    stop();
    EXPECT_TRUE(windowWholeAtListEnd);
}
