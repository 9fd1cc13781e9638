#include "controls/ReportListRows.h"
#include "positions/PositionCommands.h"
#include "positions/PositionListFile.h"
#include "positions/dialogs/CPosDlg.h"

#include "base/LoadText.h"
#include "platform/DialogBuilder.h"
#include "tests/controls/PositionListWindow.h"
#include "tests/platform/support/ScriptedDialogs.h"
#include "tests/positions/FileBytes.h"
#include "tests/support/ScriptedMessageBoxes.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

void selectRows(CReportListCtrl& list, std::initializer_list<int> rows)
{
    list.clearSelection();
    for (int row : rows)
        list.selectionModel()->select(list.model()->index(row, 0),
                                      QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

} // namespace

TEST(PositionListRows, TheListControlServesAsPositionRows)
{
    PositionListWindow w({u"Referenzfahrt"_s, u"Nullfahrt"_s, u"Pause"_s});
    ReportListRows rows(*w.list);
    EXPECT_EQ(rows.insertRow(99, u"Gate"_s, 14), 3);
    rows.setCellText(3, PositionRows::kXColumn, u"00120"_s);
    EXPECT_EQ(rows.rowCount(), 4);
    EXPECT_EQ(rows.cellText(3, PositionRows::kXColumn, 4), u"001"_s);
    EXPECT_EQ(rows.cellText(3, PositionRows::kNameColumn, 260), u"Gate"_s);

    selectRows(*w.list, {1, 3});
    EXPECT_FALSE(rows.isSelected(0));
    EXPECT_TRUE(rows.isSelected(1));
    EXPECT_TRUE(rows.isSelected(3));

    rows.setImage(3, 10);
    EXPECT_EQ(w.list->GetItemImage(3), 10);
    EXPECT_EQ(w.list->GetItemText(3, 1), u"00120"_s);

    // Deleting a row selects nothing in its place.
    rows.insertRow(4, u"Yard"_s, 14);
    selectRows(*w.list, {3});
    rows.deleteRow(3);
    EXPECT_EQ(w.names(), QStringList({u"Referenzfahrt"_s, u"Nullfahrt"_s, u"Pause"_s, u"Yard"_s}));
    EXPECT_FALSE(rows.isSelected(3));
}

TEST(PositionListRows, ScrollingBringsAFarRowIntoView)
{
    PositionListWindow w;
    ReportListRows rows(*w.list);
    for (int i = 0; i < 60; ++i)
        rows.insertRow(rows.rowCount(), u"Position %1"_s.arg(i), 14);
    w.window.show();
    const auto visible = [&](int row) {
        return w.list->viewport()->rect().contains(w.list->visualRect(w.list->model()->index(row, 0)));
    };
    ASSERT_FALSE(visible(59));
    rows.scrollTo(59);
    EXPECT_TRUE(visible(59));
    rows.scrollTo(60); // no such row: nothing moves, nothing breaks
    EXPECT_TRUE(visible(59));
}

TEST(PositionListRows, EditThroughThePositionDialogChangesTheListAndTheFile)
{
    QTemporaryDir dir;
    const QString path = PositionListPath(dir.path());
    PositionListWindow w({u"Referenzfahrt"_s, u"Nullfahrt"_s, u"Pause"_s});
    ReportListRows rows(*w.list);
    ASSERT_TRUE(WriteFileBytes(path, "Gate\t12\t-5\r\nT\xFCr\t7\t8\r\n"));
    ASSERT_EQ(LoadPositionList(path, rows), 2);
    std::atomic<int32_t> posX{0}, posY{0};
    PositionCommands commands(rows, path, posX, posY,
                              [&](PositionTexts& texts) { return RunPositionDialog(texts, &w.window); }, &w.window);

    ScriptedDialogs dialogs;
    dialogs.expect(u"CPosDlg"_s, [](QDialog& dialog) {
        EXPECT_EQ(ControlText(dialog, CPosDlg::kNameId), u"Tür"_s);
        QLineEdit* x = Control<QLineEdit>(dialog, CPosDlg::kXId);
        x->selectAll();
        QTest::keyClicks(x, u"-7"_s);
        QTest::keyClick(&dialog, Qt::Key_Return);
    });
    selectRows(*w.list, {4});
    commands.OnPositionEdit(false);
    EXPECT_EQ(w.list->GetItemText(4, 1), u"-0007"_s);
    EXPECT_EQ(w.list->GetItemText(3, 1), u"12"_s);
    EXPECT_EQ(FileBytes(path), "Gate\t00012\t-0005\r\nT\xC3\xBCr\t-0007\t00008\r\n");

    // Cancel changes and writes nothing.
    QFile::remove(path);
    dialogs.expect(u"CPosDlg"_s, [](QDialog& dialog) { QTest::keyClick(&dialog, Qt::Key_Escape); });
    commands.OnPositionEdit(false);
    EXPECT_EQ(FileBytes(path), "<missing>");
}
