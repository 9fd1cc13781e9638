#include "tests/controls/PositionListWindow.h"

#include <gtest/gtest.h>

namespace {

using L = CReportListCtrl;

QPalette paletteOf(const QColor& text, const QColor& back)
{
    QPalette palette;
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::Base, back);
    return palette;
}

} // namespace

TEST(ReportListRows, ColourRecordsFollowInsertedColumns)
{
    PositionListWindow w;
    const QColor oldText(Qt::black), oldBack(Qt::white), newText(Qt::yellow), newBack(10, 40, 90);
    w.list->setPalette(paletteOf(oldText, oldBack));
    w.list->InsertItem(0, QStringLiteral("Gate"), 14);
    w.list->SetItemText(0, 1, QStringLiteral("00120"));
    w.list->SetItemText(0, 2, QStringLiteral("-0030"));

    w.list->setPalette(paletteOf(newText, newBack));
    EXPECT_EQ(w.list->InsertColumn(1, QStringLiteral("Note")), 1);
    w.list->InsertItem(1, QStringLiteral("Yard"), 14);

    // The new column's entries take the colours of the moment; the old ones move with their cells.
    const ReportRowData* gate = w.list->GetRowData(0);
    ASSERT_NE(gate, nullptr);
    EXPECT_EQ(gate->aTextColor, QList<QColor>({oldText, newText, oldText, oldText}));
    EXPECT_EQ(gate->aBackColor, QList<QColor>({oldBack, newBack, oldBack, oldBack}));
    EXPECT_EQ(w.list->GetItemText(0, 1), QString());
    EXPECT_EQ(w.list->GetItemText(0, 2), QStringLiteral("00120"));
    EXPECT_EQ(w.list->GetItemText(0, 3), QStringLiteral("-0030"));
    EXPECT_EQ(w.list->GetRowData(1)->aBackColor, QList<QColor>(4, newBack));

    // A column past the end is appended; a negative index inserts nothing.
    EXPECT_EQ(w.list->InsertColumn(99, QStringLiteral("Last")), 4);
    EXPECT_EQ(w.list->InsertColumn(-1, QStringLiteral("None")), -1);
    EXPECT_EQ(w.list->GetRowData(0)->aTextColor.size(), 5);
    EXPECT_EQ(w.list->GetRowData(1)->aBackColor.size(), 5);
}

TEST(ReportListRows, CellsArePaintedInTheirRecordColoursNotTheCurrentPalette)
{
    PositionListWindow w;
    const QColor oldBack(Qt::white), newBack(10, 40, 90);
    w.list->setPalette(paletteOf(Qt::black, oldBack));
    w.list->InsertItem(0, QStringLiteral("Gate"), 14);
    w.list->setPalette(paletteOf(Qt::yellow, newBack));
    w.list->InsertColumn(1, QStringLiteral("Note"), L::LVCFMT_LEFT, 50);
    w.list->InsertItem(1, QStringLiteral("Yard"), 14);

    const QImage image = w.list->grab().toImage();
    const auto backAt = [&](int row, int column) {
        const QRect cell = w.list->visualRect(w.list->model()->index(row, column));
        return image.pixelColor(w.list->viewport()->pos() + QPoint(cell.right() - 4, cell.center().y()));
    };
    EXPECT_EQ(backAt(0, 0), oldBack);
    EXPECT_EQ(backAt(0, 1), newBack);
    EXPECT_EQ(backAt(0, 2), oldBack);
    EXPECT_EQ(backAt(1, 0), newBack);
}

TEST(ReportListRows, DeletingRowsFreesTheirRecordsAndKeepsTheOthers)
{
    PositionListWindow w({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("D")});
    for (int row = 0; row < 4; ++row)
        w.list->SetItem(row, 0, L::LVIF_PARAM, {}, 0, 0, 0, 10 + row);

    EXPECT_TRUE(w.list->DeleteItem(1));
    EXPECT_FALSE(w.list->DeleteItem(3));
    EXPECT_FALSE(w.list->DeleteItem(-1));
    EXPECT_EQ(w.names(), QStringList({QStringLiteral("A"), QStringLiteral("C"), QStringLiteral("D")}));
    EXPECT_EQ(w.list->GetItemData(1), 12u);
    EXPECT_EQ(w.list->GetItemData(2), 13u);
    EXPECT_EQ(w.list->GetRowData(2)->aBackColor.size(), 3);
    EXPECT_EQ(w.list->GetRowData(3), nullptr);

    EXPECT_EQ(w.list->DeleteAllItems(), 3);
    EXPECT_EQ(w.list->GetItemCount(), 0);
    EXPECT_EQ(w.list->GetRowData(0), nullptr);
    EXPECT_EQ(w.list->DeleteAllItems(), 0);
    // The window's destruction frees the records of rows still there (checked by the sanitizer build).
    w.list->InsertItem(0, QStringLiteral("E"), 14);
}

TEST(ReportListRows, DeleteItemHandsSelectionAndFocusOnOnlyWhenAsked)
{
    PositionListWindow w({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("D")});
    const uint32_t both = L::LVIS_SELECTED | L::LVIS_FOCUSED;
    w.list->SetItem(1, 0, L::LVIF_STATE, {}, 0, both, both, 0);
    w.list->SetItem(3, 0, L::LVIF_STATE, {}, 0, L::LVIS_SELECTED, L::LVIS_SELECTED, 0);

    w.list->DeleteItem(1);
    EXPECT_EQ(w.list->GetItemState(0, both), 0u);
    EXPECT_EQ(w.list->GetItemState(1, both), 0u);
    EXPECT_EQ(w.list->GetItemState(2, both), L::LVIS_SELECTED);

    w.list->DeleteItem(0, 1);
    EXPECT_EQ(w.names(), QStringList({QStringLiteral("C"), QStringLiteral("D")}));
    EXPECT_EQ(w.list->GetItemState(0, both), both);
    EXPECT_EQ(w.list->GetItemState(1, both), L::LVIS_SELECTED);
}

TEST(ReportListRows, SetItemChangesOnlyWhatItsMaskNames)
{
    PositionListWindow w({QStringLiteral("Gate")});
    EXPECT_TRUE(w.list->SetItem(0, 0, L::LVIF_PARAM, QStringLiteral("ignored"), 3, 0, 0, 0xCAFE));
    EXPECT_EQ(w.list->GetItemData(0), 0xCAFEu);
    EXPECT_EQ(w.list->GetRowData(0)->dwUserData, 0xCAFEu);
    EXPECT_EQ(w.list->GetItemText(0, 0), QStringLiteral("Gate"));
    EXPECT_EQ(w.list->GetItemImage(0), 14);
    EXPECT_EQ(w.list->GetItemState(0, L::LVIS_SELECTED), 0u);

    EXPECT_TRUE(w.list->SetItem(0, 0, L::LVIF_IMAGE, {}, 5, 0, 0, 0));
    EXPECT_EQ(w.list->GetItemImage(0), 5);
    EXPECT_EQ(w.list->GetItemData(0), 0xCAFEu);

    EXPECT_FALSE(w.list->SetItem(1, 0, L::LVIF_PARAM, {}, 0, 0, 0, 1));
    EXPECT_FALSE(w.list->SetItem(0, 3, L::LVIF_TEXT, QStringLiteral("x"), 0, 0, 0, 0));
    EXPECT_FALSE(w.list->SetItemText(0, -1, QStringLiteral("x")));
    EXPECT_EQ(w.list->GetItemData(1), 0u);
}

TEST(ReportListRows, GetItemTextCutsLikeAFixedBuffer)
{
    PositionListWindow w({QStringLiteral("Gate house")});
    EXPECT_EQ(w.list->GetItemText(0, 0, 5), QStringLiteral("Gate"));
    EXPECT_EQ(w.list->GetItemText(0, 0, 1), QString());
    EXPECT_EQ(w.list->GetItemText(0, 0, 0), QString());
    EXPECT_EQ(w.list->GetItemText(0, 0), QStringLiteral("Gate house"));
    EXPECT_EQ(w.list->GetItemText(1, 0), QString());
}

TEST(ReportListRows, InsertItemClampsItsIndexAndKeepsTextBeforeAnyColumn)
{
    CReportListCtrl list;
    EXPECT_EQ(list.InsertItem(0, QStringLiteral("Early"), 14), 0);
    list.InsertColumn(0, QStringLiteral("Name"));
    EXPECT_EQ(list.GetItemText(0, 0), QStringLiteral("Early"));
    EXPECT_EQ(list.GetRowData(0)->aTextColor.size(), 1);

    EXPECT_EQ(list.InsertItem(99, QStringLiteral("Last"), 14), 1);
    EXPECT_EQ(list.InsertItem(-1, QStringLiteral("None"), 14), -1);
    EXPECT_EQ(list.GetItemCount(), 2);
}
