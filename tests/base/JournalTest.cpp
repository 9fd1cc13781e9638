#include "base/Journal.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace std::chrono_literals;

namespace {

QString Text(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace

// A night's journal stays small: at the limit the file moves aside, the older one goes, and the
// newest lines stay in order behind their local time stamps.
TEST(Journal, AtItsLimitTheFileMovesAsideAndTheNewestLinesStayInOrder)
{
    QTemporaryDir home;
    const QString path = home.filePath(QStringLiteral("state/Korvath/pantiro.log")); // folders still missing
    {
        Journal journal(QFile::encodeName(path).toStdString(), 200);
        for (int i = 0; i < 30; ++i)
            journal.add("patrol line " + std::to_string(i));
    }
    const QString older = Text(path + QStringLiteral(".1"));
    const QString newer = Text(path);
    EXPECT_LE(older.size(), 200);
    EXPECT_LE(newer.size(), 200);
    const QStringList lines = (older + newer).split(u'\n', Qt::SkipEmptyParts);
    ASSERT_GE(lines.size(), 8);
    const QRegularExpression stamped(
        QStringLiteral(R"(^\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d[+-]\d\d:\d\d patrol line (\d+)$)"));
    for (qsizetype i = 0; i < lines.size(); ++i)
        EXPECT_EQ(stamped.match(lines[i]).captured(1).toLongLong(), 30 - lines.size() + i) << qPrintable(lines[i]);

    // Local time with the offset of its season.
    setenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3", 1);
    tzset();
    const auto summerNoonUtc = std::chrono::system_clock::from_time_t(1782907200); // 2026-07-01 12:00 UTC
    EXPECT_EQ(Journal::timeStamp(summerNoonUtc), "2026-07-01T14:00:00+02:00");
    EXPECT_EQ(Journal::timeStamp(summerNoonUtc - 183 * 24h), "2025-12-30T13:00:00+01:00");
    unsetenv("TZ");
    tzset();
}

// A disk that hangs holds up neither the caller nor the end: lines beyond the queue are dropped,
// the writer is left behind at the end, and once the disk moves again every line is there or
// counted in a note of the lines lost.
TEST(Journal, AWriteThatHangsNeverHoldsUpTheCallerAndEveryLineIsWrittenOrCountedLost)
{
    QTemporaryDir home;
    const std::string path = QFile::encodeName(home.filePath(QStringLiteral("pantiro.log"))).toStdString();
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
    const int reader = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    const int filler = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(std::min(reader, filler), 0);
    // A full pipe that nobody reads yet: the journal's first line hangs in it.
    const std::string blank(4096, '\n');
    while (::write(filler, blank.data(), blank.size()) > 0)
        continue;
    ::close(filler);
    constexpr int kLines = 2000;
    {
        Journal journal(path, Journal::kDefaultLimitBytes, 8);
        for (int i = 0; i < kLines; ++i)
            journal.add(std::string(90, 'x'));
    }

    const QRegularExpression note(QStringLiteral(R"( (\d+) journal lines lost: the disk was full or too slow\n)"));
    QString text;
    int lines = 0;
    int lost = 0;
    for (char buffer[65536]; lines + lost < kLines; std::this_thread::sleep_for(10ms)) {
        text += QString::fromLatin1(buffer, std::max<ssize_t>(::read(reader, buffer, sizeof buffer), 0));
        lines = static_cast<int>(text.count(QStringLiteral("x\n")));
        lost = 0;
        for (auto match = note.globalMatch(text); match.hasNext();)
            lost += match.next().captured(1).toInt();
    }
    ::close(reader);
    EXPECT_GT(lost, 0);
    EXPECT_EQ(lines + lost, kLines);
}
