#include "base/Journal.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <thread>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace std::chrono_literals;
using namespace Qt::StringLiterals;

namespace {

QString Text(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// Polls `done` until it holds; false when `limit` ran out first.
bool WaitFor(const std::function<bool()>& done, std::chrono::seconds limit = 10s)
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(10ms);
    }
    return true;
}

const JournalWriter kWriter{"pantiro", "started here", "running here"};

// The texts of the lines, each checked for its time stamp and its writer's name and process.
QStringList Events(const QString& text)
{
    const QRegularExpression stamped(
        u"^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d[+-]\\d\\d:\\d\\d pantiro\\[%1\\]: (.*)$"_s.arg(::getpid()));
    QStringList events;
    for (const QString& line : text.split(u'\n', Qt::SkipEmptyParts)) {
        const QRegularExpressionMatch match = stamped.match(line);
        EXPECT_TRUE(match.hasMatch()) << qPrintable(line);
        events << match.captured(1);
    }
    return events;
}

} // namespace

// A night's journal stays small: at the limit the file moves aside, the older one goes, and the
// newest lines stay in order behind their local time stamps. Each new file first says who writes.
TEST(Journal, AtItsLimitTheFileMovesAsideAndTheNewestLinesStayInOrder)
{
    QTemporaryDir home;
    const QString path = home.filePath(u"state/Korvath/pantiro.log"_s); // folders still missing
    {
        Journal journal(QFile::encodeName(path).toStdString(), kWriter, 300);
        for (int i = 0; i < 30; ++i)
            journal.add("patrol line " + std::to_string(i));
    }
    const QString older = Text(path + u".1"_s);
    const QString newer = Text(path);
    EXPECT_LE(older.size(), 300);
    EXPECT_LE(newer.size(), 300);
    QStringList lines;
    for (const QString& file : {older, newer}) {
        const QStringList events = Events(file);
        ASSERT_GE(events.size(), 3);
        EXPECT_EQ(events.first().toStdString(), "running here");
        lines += events.mid(1);
    }
    for (qsizetype i = 0; i < lines.size(); ++i)
        EXPECT_EQ(lines[i].toStdString(), "patrol line " + std::to_string(30 - lines.size() + i));

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
        Journal journal(path, kWriter, Journal::kDefaultLimitBytes, 8);
        for (int i = 0; i < kLines; ++i)
            journal.add(std::string(90, 'x'));
    }

    const QRegularExpression note(u" (\\d+) journal lines lost: the disk was too slow\n"_s);
    QString text;
    int lines = 0;
    int lost = 0;
    const bool all = WaitFor(
        [&] {
            char buffer[65536];
            text += QString::fromLatin1(buffer, std::max<ssize_t>(::read(reader, buffer, sizeof buffer), 0));
            lines = static_cast<int>(text.count(u"x\n"_s));
            lost = 0;
            for (auto match = note.globalMatch(text); match.hasNext();)
                lost += match.next().captured(1).toInt();
            return lines + lost >= kLines;
        },
        60s);
    ::close(reader);
    EXPECT_TRUE(all) << "lines neither written nor counted lost";
    EXPECT_GT(lost, 0);
    EXPECT_EQ(lines + lost, kLines);
}

// A disk that fills up in the middle of a line: the part it took is taken back, the next line
// that gets through is preceded by who writes and by what was lost and why.
TEST(Journal, ALineIsWrittenWholeOrNotAtAllAndALossSaysWhy)
{
    QTemporaryDir home;
    const QString path = home.filePath(u"pantiro.log"_s);
    static std::atomic<bool> refused;
    refused = false;
    const auto previous = std::signal(SIGXFSZ, [](int) { refused = true; });
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    {
        Journal journal(QFile::encodeName(path).toStdString(), kWriter);
        journal.add("one");
        ASSERT_TRUE(WaitFor([&] { return Text(path).endsWith(u"one\n"_s); }));
        // Room for a part of the next line only.
        const rlimit full{static_cast<rlim_t>(QFileInfo(path).size()) + 20, limit.rlim_max};
        setrlimit(RLIMIT_FSIZE, &full);
        journal.add("cut short by a full disk");
        const bool reached = WaitFor([] { return refused.load(); });
        setrlimit(RLIMIT_FSIZE, &limit);
        ASSERT_TRUE(reached);
        journal.add("two");
    }
    std::signal(SIGXFSZ, previous);
    EXPECT_EQ(Events(Text(path)).join(u" | "_s).toStdString(),
              "started here | one | running here | 1 journal lines lost: File too large | two");
}
