#include "positions/PositionListFile.h"

#include "tests/positions/FileBytes.h"
#include "tests/positions/MemoryRows.h"
#include "tests/support/FileModesBind.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

MemoryRows Loaded(const QTemporaryDir& dir, const QByteArray& bytes)
{
    const QString path = PositionListPath(dir.path());
    EXPECT_TRUE(WriteFileBytes(path, bytes));
    MemoryRows rows;
    LoadPositionList(path, rows);
    return rows;
}

MemoryRows WithPositions(const QList<QStringList>& positions)
{
    MemoryRows rows;
    for (const QStringList& cells : positions) {
        const int row = rows.insertRow(rows.rowCount(), cells[0], 14);
        rows.setCellText(row, 1, cells.value(1));
        rows.setCellText(row, 2, cells.value(2));
    }
    return rows;
}

} // namespace

TEST(ListFile, LinesBecomeRowsByTheReadingRules)
{
    const QString a249(249, u'a');
    const QString smile = u"\U0001F600"_s;
    const struct {
        const char* what;
        QByteArray bytes;
        QStringList cells; // name, X, Y of every row added
    } cases[] = {
        {"cells as read", "Gate\t12\t-5\r\n", {u"Gate"_s, u"12"_s, u"-5"_s}},
        {"name only", "Yard\r\n", {u"Yard"_s, {}, {}}},
        {"leading TAB", "\tA\tB\r\n", {u"A"_s, u"B"_s, {}}},
        {"runs of TABs, extra fields", "A\t\t\t 7x\t\t+8\t9\t\t\n", {u"A"_s, u" 7x"_s, u"+8"_s}},
        {"empty and TAB-only lines", "\r\n\t\t\r\n\nB\t1\t2\r\n\n", {u"B"_s, u"1"_s, u"2"_s}},
        {"no end of line", "Last\t5\t6", {u"Last"_s, u"5"_s, u"6"_s}},
        {"lone CR ends the line", "A\tB\rC\tD\nE\r\n", {u"A"_s, u"B"_s, {}, u"C"_s, u"D"_s, {}, u"E"_s, {}, {}}},
        {"300 characters", QByteArray(300, 'a') + "\r\n", {a249, {}, {}, QString(51, u'a'), {}, {}}},
        {"249 characters and CR LF", QByteArray(249, 'a') + "\r\nB\r\n", {a249, {}, {}, u"B"_s, {}, {}}},
        {"UTF-8", "T\xC3\xBCr \xE2\x82\xAC\t1\t2\r\n", {u"Tür €"_s, u"1"_s, u"2"_s}},
        {"UTF-8 with byte-order mark", "\xEF\xBB\xBFGate\t1\t2\r\n", {u"Gate"_s, u"1"_s, u"2"_s}},
        {"Windows-1252", "T\xFCr \x80\x9F\t1\t2\r\n", {u"Tür €Ÿ"_s, u"1"_s, u"2"_s}},
        {"a piece never ends inside a character",
         QByteArray(248, 'a') + "\xF0\x9F\x98\x80" + "b\n",
         {QString(248, u'a'), {}, {}, smile + u"b"_s, {}, {}}},
    };
    QTemporaryDir dir;
    for (const auto& c : cases) {
        const MemoryRows rows = Loaded(dir, c.bytes);
        EXPECT_EQ(rows.positions(), c.cells) << c.what;
        for (int row = PositionRows::kFirstPositionRow; row < rows.rowCount(); ++row)
            EXPECT_EQ(rows.rows[row].image, 14) << c.what;
    }
}

TEST(ListFile, AMissingFileLeavesTheFixedRowsOnly)
{
    MemoryRows rows;
    EXPECT_EQ(LoadPositionList(u"/nonexistent/pantiro.lst"_s, rows), 0);
    EXPECT_EQ(rows.rowCount(), 3);
}

TEST(ListFile, OnlyARegularFileOfASaneSizeIsRead)
{
    QTemporaryDir dir;
    const QString path = PositionListPath(dir.path());
    QByteArray longList;
    for (int i = 0; i < 100000; ++i)
        longList += "Position " + QByteArray::number(i) + "\t00120\t-0030\r\n";
    const struct {
        const char* what;
        std::function<bool()> make;
        int rows;
    } cases[] = {
        {"100,000 positions", [&] { return WriteFileBytes(path, longList); }, 100000},
        {"a pipe", [&] { return mkfifo(QFile::encodeName(path).constData(), 0600) == 0; }, -1},
        {"a link to an endless device", [&] { return QFile::link(u"/dev/zero"_s, path); }, -1},
        {"a link that leads nowhere", [&] { return QFile::link(dir.filePath(u"gone"_s), path); }, -1},
        {"larger than any list",
         [&] { return QFile(path).open(QIODevice::WriteOnly) && QFile::resize(path, kListFileMaxBytes + 1); }, -1},
    };
    for (const auto& c : cases) {
        QFile::remove(path);
        ASSERT_TRUE(c.make()) << c.what;
        MemoryRows rows;
        EXPECT_EQ(LoadPositionList(path, rows), c.rows) << c.what;
        EXPECT_EQ(rows.rowCount(), 3 + std::max(0, c.rows)) << c.what;
    }
}

TEST(ListFile, PositionRowsAreWrittenByTheWritingRules)
{
    QTemporaryDir dir;
    const QString path = PositionListPath(dir.path());
    const MemoryRows rows = WithPositions({
        {u"Gate"_s, u"12"_s, u"-5"_s},
        {u"Yard"_s},
        {QString(120, u'n'), u"1234567"_s, u"-123456"_s},
        {u"Tür"_s, u"abc"_s, u" 42x"_s},
    });
    ASSERT_TRUE(SavePositionList(path, rows));
    EXPECT_EQ(FileBytes(path), "Gate\t00012\t-0005\r\n"
                               "Yard\t00000\t00000\r\n"
                                   + QByteArray(99, 'n')
                                   + "\t1234567\t-123456\r\n"
                                     "T\xC3\xBCr\t00000\t00042\r\n");

    // The fixed rows are never written: without positions the file is empty.
    ASSERT_TRUE(SavePositionList(path, MemoryRows()));
    EXPECT_EQ(FileBytes(path), QByteArray());
}

TEST(ListFile, NamesThatWouldShiftTheFieldsComeBackWhole)
{
    QTemporaryDir dir;
    const QString path = PositionListPath(dir.path());
    const QString smile = u"\U0001F600"_s;
    const MemoryRows written = WithPositions({
        {u"\uFEFFa\tb"_s, u"1"_s, u"2"_s}, // not to be taken for a byte-order mark
        {QString(), u"3"_s, u"4"_s},
        {u"line\r\nbreak"_s, u"5"_s, u"6"_s},
        {QString(98, u'x') + smile, u"7"_s, u"8"_s},
        {u"  Tür Ost "_s, u"9"_s, u"10"_s},
    });
    ASSERT_TRUE(SavePositionList(path, written));
    MemoryRows read;
    EXPECT_EQ(LoadPositionList(path, read), 5);
    EXPECT_EQ(read.positions(), QStringList({u"\uFEFFa b"_s, u"00001"_s, u"00002"_s, u" "_s, u"00003"_s, u"00004"_s,
                                             u"line  break"_s, u"00005"_s, u"00006"_s, QString(98, u'x'), u"00007"_s,
                                             u"00008"_s, u"  Tür Ost "_s, u"00009"_s, u"00010"_s}));
}

TEST(ListFile, AFailedSaveReportsFailureAndKeepsTheOldFile)
{
    QTemporaryDir dir;
    const QString path = PositionListPath(dir.path());
    const MemoryRows old = WithPositions({{u"Old"_s, u"1"_s, u"2"_s}});
    ASSERT_TRUE(SavePositionList(path, old));
    const QByteArray oldBytes = FileBytes(path);

    // A disk that fills up in the middle of the save (for root as well as for anyone else), with a
    // list that the toolkit's 16 KB write buffer holds (the short write shows at the flush) and with
    // one larger than that (it shows at the write).
    std::signal(SIGXFSZ, SIG_IGN);
    for (const int positions : {200, 2000}) {
        QList<QStringList> many;
        for (int i = 0; i < positions; ++i)
            many.append({u"Position"_s, QString::number(i), QString::number(-i)});
        rlimit limit{};
        getrlimit(RLIMIT_FSIZE, &limit);
        const rlimit small{64, limit.rlim_max};
        setrlimit(RLIMIT_FSIZE, &small);
        const bool saved = SavePositionList(path, WithPositions(many));
        setrlimit(RLIMIT_FSIZE, &limit);
        EXPECT_FALSE(saved) << positions;
        EXPECT_EQ(FileBytes(path), oldBytes) << positions;
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({u"pantiro.lst"_s})) << positions;
    }

    // A list the operator made read-only is never replaced, though the folder would let it be,
    // and root, who may write anything, keeps it too.
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    EXPECT_FALSE(SavePositionList(path, WithPositions({{u"New"_s, u"3"_s, u"4"_s}})));
    EXPECT_EQ(FileBytes(path), oldBytes);
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);

    // A working directory that has gone.
    QTemporaryDir gone;
    const QString gonePath = PositionListPath(gone.path());
    gone.remove();
    EXPECT_FALSE(SavePositionList(gonePath, old));

    // A folder that takes no new file, with a list in it that can be written: in place.
    const FileModesBind modes;
    ASSERT_TRUE(modes.held);
    const MemoryRows changed = WithPositions({{u"New"_s, u"3"_s, u"4"_s}});
    ASSERT_TRUE(SavePositionList(path, old));
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    for (const bool listWritable : {false, true}) {
        QFile::setPermissions(path,
                              listWritable ? QFileDevice::ReadOwner | QFileDevice::WriteOwner : QFileDevice::ReadOwner);
        EXPECT_EQ(SavePositionList(path, changed), listWritable);
        EXPECT_EQ(FileBytes(path), listWritable ? "New\t00003\t00004\r\n" : oldBytes);
    }
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({u"pantiro.lst"_s}));
}
