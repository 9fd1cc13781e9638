#include "positions/dialogs/CPosDlg.h"

#include "platform/DialogBuilder.h"
#include "tests/platform/support/ScriptedDialogs.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QLineEdit* edit(const QDialog& dialog, int id)
{
    return Control<QLineEdit>(dialog, id);
}

void retype(QLineEdit* field, const QString& text)
{
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Delete);
    QTest::keyClicks(field, text);
}

} // namespace

TEST(PositionDialog, ShowsItsTemplateWithTheTextsItWasGiven)
{
    PositionTexts texts{u"Gate"_s, u"00012"_s, u"-0005"_s};
    CPosDlg dialog(texts, nullptr);
    EXPECT_EQ(dialog.windowTitle(), u"Position"_s);
    EXPECT_EQ(dialog.size(), QSize(297, 171));
    EXPECT_EQ(edit(dialog, CPosDlg::kNameId)->text(), u"Gate"_s);
    EXPECT_EQ(edit(dialog, CPosDlg::kXId)->text(), u"00012"_s);
    EXPECT_EQ(edit(dialog, CPosDlg::kYId)->text(), u"-0005"_s);
    EXPECT_EQ(edit(dialog, CPosDlg::kNameId)->maxLength(), 50);
    EXPECT_EQ(edit(dialog, CPosDlg::kXId)->maxLength(), 10);
    EXPECT_EQ(edit(dialog, CPosDlg::kYId)->maxLength(), 10);
    EXPECT_EQ(ControlText(dialog, CPosDlg::kCancelId), u"&Abbrechen"_s);
    EXPECT_TRUE(Control<QPushButton>(dialog, CPosDlg::kOkId)->isDefault());
}

TEST(PositionDialog, OkHandsBackWhatWasTypedWithinTheVisibleWidth)
{
    ScriptedDialogs dialogs;
    dialogs.expect(u"CPosDlg"_s, [](QDialog& dialog) {
        retype(edit(dialog, CPosDlg::kNameId), QString(50, u'W'));
        retype(edit(dialog, CPosDlg::kXId), u"-7"_s);
        retype(edit(dialog, CPosDlg::kYId), u" 42x"_s);
        QTest::keyClick(&dialog, Qt::Key_Return);
    });
    PositionTexts texts{u"Gate"_s, u"00012"_s, u"-0005"_s};
    EXPECT_EQ(RunPositionDialog(texts, nullptr), 0);
    // Typing stops where the edit is full.
    EXPECT_GT(texts.name.size(), 10);
    EXPECT_LT(texts.name.size(), 50);
    EXPECT_EQ(texts.name, QString(texts.name.size(), u'W'));
    EXPECT_EQ(texts.x, u"-7"_s);
    EXPECT_EQ(texts.y, u" 42x"_s);
}

TEST(PositionDialog, CancelEscapeAndTheCloseBoxLeaveTheTexts)
{
    const std::function<void(QDialog&)> endings[] = {
        [](QDialog& dialog) { Control<QPushButton>(dialog, CPosDlg::kCancelId)->click(); },
        [](QDialog& dialog) { QTest::keyClick(&dialog, Qt::Key_Escape); },
        [](QDialog& dialog) { dialog.close(); },
    };
    for (const auto& end : endings) {
        ScriptedDialogs dialogs;
        dialogs.expect(u"CPosDlg"_s, [&](QDialog& dialog) {
            retype(edit(dialog, CPosDlg::kNameId), u"Other"_s);
            end(dialog);
        });
        PositionTexts texts{u"Gate"_s, u"1"_s, u"2"_s};
        EXPECT_EQ(RunPositionDialog(texts, nullptr), -1);
        EXPECT_EQ(texts.name, u"Gate"_s);
    }
}

TEST(PositionDialog, OkIsUnavailableWhileTheNameIsEmpty)
{
    ScriptedDialogs dialogs;
    dialogs.expect(u"CPosDlg"_s, [](QDialog& dialog) {
        auto* ok = Control<QPushButton>(dialog, CPosDlg::kOkId);
        retype(edit(dialog, CPosDlg::kNameId), {});
        EXPECT_FALSE(ok->isEnabled());
        QTest::keyClick(&dialog, Qt::Key_Return);
        EXPECT_TRUE(dialog.isVisible());
        QTest::keyClicks(edit(dialog, CPosDlg::kNameId), u"N"_s);
        EXPECT_TRUE(ok->isEnabled());
        ok->click();
    });
    PositionTexts texts{u"Gate"_s, u"1"_s, u"2"_s};
    EXPECT_EQ(RunPositionDialog(texts, nullptr), 0);
    EXPECT_EQ(texts.name, u"N"_s);
}
