#include "tests/controls/PositionListWindow.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>

#include <gtest/gtest.h>

namespace {

using L = CReportListCtrl;

const QStringList kUnsorted = {QStringLiteral("Zeta"), QStringLiteral("Alpha"), QStringLiteral("Mike")};

QPoint centreOf(const CReportListCtrl& list, int row, int column)
{
    return list.visualRect(list.model()->index(row, column)).center();
}

void showActive(QWidget& window)
{
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
}

} // namespace

TEST(ReportListInput, CreateMasksTheStyleToAReportViewAndKeepsTheId)
{
    PositionListWindow w;
    EXPECT_EQ(w.list->GetStyle(), 0x50B18009u);
    EXPECT_EQ(w.list->property("controlId").toInt(), 600);
    EXPECT_EQ(w.list->geometry(), QRect(8, 8, 221, 265));
    EXPECT_TRUE(w.list->isVisibleTo(&w.window));
    EXPECT_EQ(w.list->selectionMode(), QAbstractItemView::ExtendedSelection);
    EXPECT_EQ(w.list->selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_EQ(w.list->editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_FALSE(w.list->horizontalHeader()->sectionsClickable());
    EXPECT_EQ(w.list->GetExtendedStyle(), 0x433u);
    EXPECT_TRUE(w.list->showGrid());
    EXPECT_TRUE(w.list->horizontalHeader()->sectionsMovable());

    // Editing, no scrolling and the icon views are stripped; a fresh list has only the forced
    // extended styles.
    QWidget parent;
    CReportListCtrl other;
    EXPECT_TRUE(other.Create(&parent, 7, nullptr, L::LVS_SINGLESEL | L::LVS_EDITLABELS | L::LVS_NOSCROLL | 0x3));
    EXPECT_EQ(other.GetStyle() & 0x2203, L::LVS_REPORT);
    EXPECT_EQ(other.selectionMode(), QAbstractItemView::SingleSelection);
    EXPECT_TRUE(other.horizontalHeader()->sectionsClickable());
    EXPECT_EQ(other.GetExtendedStyle(), 0x22u);
    EXPECT_FALSE(other.showGrid());
    EXPECT_EQ(other.geometry(), parent.rect());
    EXPECT_FALSE(CReportListCtrl().Create(nullptr, 1, nullptr, 0));
}

TEST(ReportListInput, SpaceBarChangesNeitherSelectionNorFocus)
{
    PositionListWindow w(kUnsorted);
    showActive(w.window);
    w.list->setFocus();
    const uint32_t both = L::LVIS_SELECTED | L::LVIS_FOCUSED;
    w.list->SetItem(0, 0, L::LVIF_STATE, {}, 0, L::LVIS_SELECTED, L::LVIS_SELECTED, 0);
    w.list->SetItem(1, 0, L::LVIF_STATE, {}, 0, both, both, 0);

    for (Qt::KeyboardModifiers modifiers : {Qt::NoModifier, Qt::ControlModifier, Qt::ShiftModifier}) {
        QTest::keyClick(w.list, Qt::Key_Space, modifiers);
        EXPECT_EQ(w.list->GetItemState(0, both), L::LVIS_SELECTED);
        EXPECT_EQ(w.list->GetItemState(1, both), both);
        EXPECT_EQ(w.list->GetItemState(2, both), 0u);
    }
    // Other keys still reach the list.
    QTest::keyClick(w.list, Qt::Key_Down);
    EXPECT_EQ(w.list->GetItemState(2, both), both);
}

TEST(ReportListInput, TabLeavesTheListForTheNextControl)
{
    PositionListWindow w(kUnsorted);
    auto* next = new QPushButton(QStringLiteral("Neu"), &w.window);
    showActive(w.window);
    w.list->setFocus();
    QTest::keyClick(w.list, Qt::Key_Tab);
    EXPECT_TRUE(next->hasFocus());
}

TEST(ReportListInput, HeaderClickDoesNotReorderOrSelect)
{
    PositionListWindow w(kUnsorted);
    showActive(w.window);
    w.list->SetItem(1, 0, L::LVIF_STATE, {}, 0, L::LVIS_SELECTED, L::LVIS_SELECTED, 0);
    QHeaderView* header = w.list->horizontalHeader();
    for (int column : {0, 0, 1}) {
        const QPoint heading(header->sectionViewportPosition(column) + 10, header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, heading);
    }
    EXPECT_EQ(w.names(), kUnsorted);
    EXPECT_EQ(w.list->GetItemState(0, L::LVIS_SELECTED), 0u);
    EXPECT_EQ(w.list->GetItemState(1, L::LVIS_SELECTED), L::LVIS_SELECTED);
    EXPECT_EQ(w.list->GetItemState(2, L::LVIS_SELECTED), 0u);
    EXPECT_FALSE(header->isSortIndicatorShown());
}

TEST(ReportListInput, DraggedHeadingMovesTheColumnButNotItsCells)
{
    PositionListWindow w(kUnsorted);
    w.list->SetItemText(0, 1, QStringLiteral("00120"));
    showActive(w.window);
    QHeaderView* header = w.list->horizontalHeader();
    const int y = header->height() / 2;
    QTest::mousePress(header->viewport(), Qt::LeftButton, {}, QPoint(20, y));
    QTest::mouseMove(header->viewport(), QPoint(120, y));
    QTest::mouseMove(header->viewport(), QPoint(190, y));
    QTest::mouseRelease(header->viewport(), Qt::LeftButton, {}, QPoint(190, y));

    EXPECT_NE(header->visualIndex(0), 0);
    EXPECT_EQ(w.list->GetItemText(0, 0), QStringLiteral("Zeta"));
    EXPECT_EQ(w.list->GetItemText(0, 1), QStringLiteral("00120"));
}

TEST(ReportListInput, DoubleClickReportsTheRowAndMinusOneBelowTheRows)
{
    PositionListWindow w(kUnsorted);
    showActive(w.window);
    QSignalSpy spy(w.list, &CReportListCtrl::itemDoubleClicked);
    QTest::mouseDClick(w.list->viewport(), Qt::LeftButton, {}, centreOf(*w.list, 1, 2));
    QTest::mouseDClick(w.list->viewport(), Qt::LeftButton, {}, QPoint(20, w.list->viewport()->height() - 5));
    QTest::mouseDClick(w.list->viewport(), Qt::RightButton, {}, centreOf(*w.list, 0, 0));
    ASSERT_EQ(spy.size(), 2);
    EXPECT_EQ(spy[0][0].toInt(), 1);
    EXPECT_EQ(spy[1][0].toInt(), -1);
}

TEST(ReportListInput, ContextMenuRequestReachesTheParent)
{
    struct Parent : QWidget {
        QPoint requestedAt{-1, -1};
        void contextMenuEvent(QContextMenuEvent* event) override { requestedAt = event->pos(); }
    } parent;
    CReportListCtrl list;
    list.Create(&parent, 600, nullptr, 0);
    list.InsertColumn(0, QStringLiteral("Name"));
    list.InsertItem(0, QStringLiteral("Gate"), 14);
    const QPoint at = centreOf(list, 0, 0);
    QContextMenuEvent request(QContextMenuEvent::Mouse, at, list.viewport()->mapToGlobal(at));
    QApplication::sendEvent(list.viewport(), &request);
    EXPECT_EQ(parent.requestedAt, list.viewport()->mapTo(&parent, at));
}

TEST(ReportListInput, InfoTipShowsTheWholeTextOfACutCellOnly)
{
    const QString longName = QStringLiteral("North gate with the long driveway");
    PositionListWindow w({longName, QStringLiteral("A")});
    showActive(w.window);
    const auto tipAt = [&](int row) {
        const QPoint at = centreOf(*w.list, row, 0);
        QHelpEvent help(QEvent::ToolTip, at, w.list->viewport()->mapToGlobal(at));
        QApplication::sendEvent(w.list->viewport(), &help);
        return help.isAccepted() ? QToolTip::text() : QString();
    };
    EXPECT_EQ(tipAt(0), longName);
    EXPECT_EQ(tipAt(1), QString());

    w.list->SetExtendedStyle(0);
    EXPECT_EQ(tipAt(0), QString());
}
