#include "base/Settings.h"
#include "platform/FileInUseLock.h"
#include "tests/support/PseudoTerminal.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSettings>

#include <gtest/gtest.h>

#include <csignal>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {

struct EndRow {
    const char* name;
    int signal;
    bool patrol; // the patrol drives to a far position; otherwise the Up arrow is held
    int ignored; // a signal Pantiro was started with ignored (as by nohup), sent first
};

class EndOnSignal : public ::testing::TestWithParam<EndRow> {};

// A signal ends Pantiro in order while its head moves: the line gets the stop, the profile the
// position where the counters stopped, and the locks are given back, with exit code 0. A signal
// that Pantiro was started with ignored ends nothing.
TEST_P(EndOnSignal, TheHeadStopsThePositionIsStoredAndTheEndIsClean)
{
    const EndRow& row = GetParam();
    PseudoTerminal line;
    QFile list(u"pantiro.lst"_s);
    ASSERT_TRUE(line.isOpen() && list.open(QIODevice::WriteOnly) && list.write("Far\t60000\t00000\r\n") > 0
                && list.flush());
    QSettings profile(SettingsStore::profileFolder() + u"/pantiro.conf"_s, QSettings::IniFormat);
    profile.beginGroup(u"Settings"_s);
    for (const auto& [name, value] : {std::pair{u"Language"_s, u"0"_s},
                                      {u"Comm"_s, line.devicePath() + u",9600"_s},
                                      {u"Times"_s, u"150,0,0,1"_s},
                                      {u"Options"_s, u"0,0,%1"_s.arg(row.patrol)}})
        profile.setValue(name, value);
    profile.sync();
    QProcess pantiro;
    if (row.ignored)
        pantiro.setChildProcessModifier([signal = row.ignored] { ::signal(signal, SIG_IGN); });
    pantiro.start(QString::fromUtf8(row.patrol ? PANTIRO_EXE : PANTIRO_ARROW_PROBE));
    // The patrol's reference drive and drive to zero come first; then it drives right.
    const char moving = row.patrol ? '6' : '8';
    std::string sent;
    for (int wait = 0; wait < 300 && sent.find(moving) == std::string::npos; ++wait)
        sent += line.read(1, 100ms);
    ASSERT_NE(sent.find(moving), std::string::npos) << sent;
    const auto movedAt = std::chrono::steady_clock::now();
    EXPECT_EQ(line.read(1, 500ms), "") << "still moving";
    if (row.ignored) {
        ::kill(static_cast<pid_t>(pantiro.processId()), row.ignored);
        EXPECT_EQ(line.read(1, 500ms), "") << "an ignored signal stops nothing";
    }
    ::kill(static_cast<pid_t>(pantiro.processId()), row.signal);
    EXPECT_EQ(line.read(1, 3s), "5");
    const auto stoppedAt = std::chrono::steady_clock::now();
    ASSERT_TRUE(pantiro.waitForFinished(10000));
    EXPECT_EQ(pantiro.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(pantiro.exitCode(), 0);
    EXPECT_FALSE(QFile::exists(SettingsStore::profileFolder() + u"/pantiro.lock"_s));
    EXPECT_FALSE(QFile::exists(u"pantiro.lst.lock"_s));
    EXPECT_FALSE(QFile::exists(FileInUseLock::runtimeLockPath(QDir::currentPath() + u"/pantiro.lst"_s)));

    // The counters measure the commanded milliseconds from the direction to the stop.
    profile.sync();
    const QStringList stored = profile.value(u"ActPos"_s).toString().split(u',');
    ASSERT_EQ(stored.size(), 2);
    const long long travelled = std::chrono::duration_cast<std::chrono::milliseconds>(stoppedAt - movedAt).count();
    EXPECT_NEAR(stored.at(row.patrol ? 0 : 1).toLongLong(), travelled, 300);
}

const EndRow kRows[] = {
    {"SIGTERM_arrow", SIGTERM, false, 0},
    {"SIGTERM_patrol", SIGTERM, true, 0},
    {"SIGINT_arrow", SIGINT, false, 0},
    {"SIGINT_patrol", SIGINT, true, 0},
    {"SIGHUP_arrow", SIGHUP, false, 0},
    {"SIGHUP_patrol", SIGHUP, true, 0},
    {"SIGHUP_ignored_SIGTERM_arrow", SIGTERM, false, SIGHUP},
};

INSTANTIATE_TEST_SUITE_P(Signals, EndOnSignal, ::testing::ValuesIn(kRows),
                         [](const ::testing::TestParamInfo<EndRow>& row) { return std::string(row.param.name); });

} // namespace
