#include "positions/PositionCommands.h"

#include "base/LoadText.h"
#include "positions/PositionListFile.h"
#include "positions/SelectedPosition.h"
#include "tests/positions/FileBytes.h"
#include "tests/positions/MemoryRows.h"
#include "tests/support/ScriptedMessageBoxes.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace {

struct CommandsFixture {
    explicit CommandsFixture(const QList<QStringList>& positions = {})
    {
        for (const QStringList& cells : positions) {
            const int row = rows.insertRow(rows.rowCount(), cells[0], 14);
            rows.setCellText(row, 1, cells[1]);
            rows.setCellText(row, 2, cells[2]);
        }
    }

    QByteArray file() const { return FileBytes(path); }

    void select(std::initializer_list<int> selected)
    {
        for (int row : selected)
            rows.rows[row].selected = true;
    }

    QTemporaryDir dir;
    QString path = PositionListPath(dir.path());
    MemoryRows rows;
    std::atomic<int32_t> posX{120};
    std::atomic<int32_t> posY{-30};
    int dialogRuns = 0;
    std::function<int(PositionTexts&)> dialog = [this](PositionTexts&) { return ++dialogRuns, -1; };
    PositionCommands commands{rows, path, posX, posY, [this](PositionTexts& t) { return dialog(t); }, nullptr};
};

void Expect(int id, MessageAnswer answer = MessageAnswer::Ok)
{
    const bool question = id == 1005 || id == 1007 || id == 1008;
    const MessageIcon icon = question                   ? MessageIcon::Question
                             : id == 1010 || id == 1012 ? MessageIcon::Stop
                                                        : MessageIcon::Information;
    ScriptedMessageBoxes::expect(LoadText(id), question ? MessageButtons::YesNo : MessageButtons::Ok, icon, answer);
}

const QList<QStringList> kTwoPositions = {{u"Gate"_s, u"12"_s, u"-5"_s}, {u"Yard"_s, u"7"_s, u"8"_s}};

} // namespace

TEST(PositionCommands, NewAppendsTheCountersOnlyAfterYesAndSaves)
{
    CommandsFixture f(kTwoPositions);
    Expect(1005, MessageAnswer::No);
    f.commands.OnPositionNew();
    EXPECT_EQ(f.rows.rowCount(), 5);
    EXPECT_EQ(f.file(), "<missing>");

    Expect(1005, MessageAnswer::Yes);
    f.commands.OnPositionNew();
    ASSERT_EQ(f.rows.rowCount(), 6);
    EXPECT_EQ(f.rows.rows[5].cells, QStringList({u"Position"_s, u"00120"_s, u"-0030"_s}));
    EXPECT_EQ(f.rows.rows[5].image, 14);
    EXPECT_FALSE(f.rows.rows[5].selected);
    // Cells read from the file are written in the counter format once the list changes.
    EXPECT_EQ(f.file(), "Gate\t00012\t-0005\r\nYard\t00007\t00008\r\nPosition\t00120\t-0030\r\n");
}

TEST(PositionCommands, WithoutASelectedPositionEveryCommandTellsAndChangesNothing)
{
    const struct {
        const char* what;
        std::initializer_list<int> selected;
    } selections[] = {{"nothing", {}}, {"fixed row first", {1, 4}}, {"row 0", {0}}};
    for (const auto& s : selections) {
        CommandsFixture f(kTwoPositions);
        f.select(s.selected);
        EXPECT_EQ(FindSelectedPosition(f.rows), -1) << s.what;
        const QStringList before = f.rows.positions();
        Expect(1009);
        f.commands.OnPositionUpdate();
        Expect(1006);
        f.commands.OnPositionRemove();
        Expect(1011);
        f.commands.OnPositionEdit(false);
        EXPECT_EQ(f.rows.positions(), before) << s.what;
        EXPECT_EQ(f.dialogRuns, 0) << s.what;
        EXPECT_EQ(f.file(), "<missing>") << s.what;
    }
}

TEST(PositionCommands, UpdateAndRemoveActOnTheFirstSelectedPositionAfterYes)
{
    CommandsFixture f(kTwoPositions);
    f.select({3, 4});
    EXPECT_EQ(FindSelectedPosition(f.rows), 3);

    Expect(1008, MessageAnswer::No);
    f.commands.OnPositionUpdate();
    Expect(1007, MessageAnswer::No);
    f.commands.OnPositionRemove();
    EXPECT_EQ(f.rows.positions(), QStringList({u"Gate"_s, u"12"_s, u"-5"_s, u"Yard"_s, u"7"_s, u"8"_s}));
    EXPECT_EQ(f.file(), "<missing>");

    Expect(1008, MessageAnswer::Yes);
    f.commands.OnPositionUpdate();
    EXPECT_EQ(f.file(), "Gate\t00120\t-0030\r\nYard\t00007\t00008\r\n");

    Expect(1007, MessageAnswer::Yes);
    f.commands.OnPositionRemove();
    EXPECT_EQ(f.file(), "Yard\t00007\t00008\r\n");
    Expect(1007, MessageAnswer::Yes);
    f.commands.OnPositionRemove();
    EXPECT_EQ(f.rows.rowCount(), 3);
    EXPECT_EQ(f.file(), QByteArray());
}

TEST(PositionCommands, EditStoresTheDialogsTextsInTheCounterFormat)
{
    // The dialog shows 50 of a name's 60 characters; a name left as shown keeps all 60.
    const struct {
        QString name, x, y, storedName, storedX, storedY;
    } cases[] = {
        {u"Tor\tOst"_s, u"abc"_s, u" 42x"_s, u"Tor Ost"_s, u"00000"_s, u"00042"_s},
        {u"Tor\tOst"_s, u"-7"_s, QString(), u"Tor Ost"_s, u"-0007"_s, u"00000"_s},
        {QString(50, u'n'), u"5"_s, u"x"_s, QString(60, u'n'), u"00005"_s, u"00000"_s},
    };
    for (const auto& c : cases) {
        CommandsFixture f({{QString(60, u'n'), u" 12"_s, u"x"_s}});
        f.select({3});
        PositionTexts shown;
        f.dialog = [&](PositionTexts& texts) {
            shown = texts;
            texts = {c.name, c.x, c.y};
            return 0;
        };
        f.commands.OnPositionEdit(false);
        EXPECT_EQ(shown.name, QString(50, u'n'));
        EXPECT_EQ(shown.x, u" 12"_s);
        EXPECT_EQ(shown.y, u"x"_s);
        EXPECT_EQ(f.rows.positions(), QStringList({c.storedName, c.storedX, c.storedY}));
        EXPECT_EQ(f.file(), (c.storedName + u'\t' + c.storedX + u'\t' + c.storedY + u"\r\n"_s).toLatin1());
    }
}

TEST(PositionCommands, EditCancelledOrInAutomaticModeChangesAndWritesNothing)
{
    CommandsFixture f({{u"Gate"_s, u"12"_s, u"-5"_s}});
    f.select({3});
    Expect(1012);
    f.commands.OnPositionEdit(true);
    EXPECT_EQ(f.dialogRuns, 0);

    f.dialog = [&](PositionTexts& texts) {
        texts.name = u"changed"_s;
        return -1;
    };
    f.commands.OnPositionEdit(false);
    EXPECT_EQ(f.rows.positions(), QStringList({u"Gate"_s, u"12"_s, u"-5"_s}));
    EXPECT_EQ(f.file(), "<missing>");
}

TEST(PositionCommands, AFailedSaveShows1010KeepsTheChangeAndTheNextChangeTriesAgain)
{
    CommandsFixture f(kTwoPositions);
    ASSERT_TRUE(f.dir.remove());
    Expect(1005, MessageAnswer::Yes);
    Expect(1010);
    f.commands.OnPositionNew();
    EXPECT_EQ(f.rows.rowCount(), 6);

    ASSERT_TRUE(QDir().mkpath(f.dir.path()));
    f.select({5});
    Expect(1008, MessageAnswer::Yes);
    f.commands.OnPositionUpdate();
    EXPECT_EQ(f.file(), "Gate\t00012\t-0005\r\nYard\t00007\t00008\r\nPosition\t00120\t-0030\r\n");
    QDir(f.dir.path()).removeRecursively();
}
