#include "base/Settings.h"
#include "positions/PositionListFile.h"
#include "tests/crashsafe/SavedVersions.h"
#include "tests/positions/FileBytes.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <random>
#include <thread>

namespace {

constexpr int kKills = 200;

// The saver in `workDir`, begun (it has written its first line) or failed.
bool StartSaver(QProcess& saver, const char* what, const QString& workDir)
{
    saver.setWorkingDirectory(workDir);
    saver.start(QStringLiteral(PANTIRO_CRASH_SAVER), {QString::fromLatin1(what)});
    return saver.waitForReadyRead(10000) && saver.readLine() == "saving\n";
}

// How long one save takes on this disk, measured over a while.
std::chrono::microseconds SavePeriod(const char* what, const QString& workDir)
{
    QProcess saver;
    if (!StartSaver(saver, what, workDir))
        return {};
    const std::chrono::microseconds span(300000);
    std::this_thread::sleep_for(span);
    saver.kill();
    saver.waitForFinished(10000);
    return span / std::max<qsizetype>(1, saver.readAllStandardOutput().count('.'));
}

// Reads the saver's dots until it has completed `saves` saves; false when it did not within 10 s
// (a save that failed, or hung on a lock, counts for nothing).
bool AwaitSaves(QProcess& saver, int saves, int& completed)
{
    QDeadlineTimer deadline(10000);
    while (completed < saves) {
        if (!saver.waitForReadyRead(static_cast<int>(deadline.remainingTime())))
            return false;
        completed += static_cast<int>(saver.readAllStandardOutput().count('.'));
    }
    return true;
}

// Starts the saver in `workDir` and kills it with SIGKILL at a random moment within a save:
// kill k waits until the saver has completed k % 4 saves (the first one also reads the file), then
// up to two saves' time more, as the disk's pace varies. So the kills land among the saves and
// after completed ones, however slow the disk is that moment. `check` then looks at what was left and tells which
// version it found.
void KillSavesAtRandom(const char* what, const QString& workDir, const std::function<int(int kill)>& check)
{
    std::mt19937 random(20261207);
    const std::chrono::microseconds period =
        std::max<std::chrono::microseconds>(SavePeriod(what, workDir), std::chrono::microseconds(100));
    std::uniform_int_distribution<std::chrono::microseconds::rep> delay(0, 2 * period.count());
    int saves = 0;
    int found[2] = {};
    for (int kill = 0; kill < kKills; ++kill) {
        QProcess saver;
        ASSERT_TRUE(StartSaver(saver, what, workDir)) << saver.errorString().toStdString();
        int completed = 0;
        ASSERT_TRUE(AwaitSaves(saver, kill % 4, completed)) << "kill " << kill << ": the saver's saves failed";
        std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
        saver.kill();
        saver.waitForFinished(10000);
        saves += completed + static_cast<int>(saver.readAllStandardOutput().count('.'));
        const int version = check(kill);
        if (version < 0)
            return;
        ++found[version];
    }
    std::printf("%d kills, %d saves completed between them; old/new version found %d/%d times\n", kKills, saves,
                found[0], found[1]);
}

// The "Settings" section of a settings file, read from a copy that no QSettings has cached.
QMap<QString, QString> SettingsValues(const QString& file, const QString& copy)
{
    QFile::remove(copy);
    QFile::copy(file, copy);
    QSettings settings(copy, QSettings::IniFormat);
    settings.beginGroup(QStringLiteral("Settings"));
    QMap<QString, QString> values;
    for (const QString& key : settings.childKeys())
        values.insert(key, settings.value(key).toString());
    return values;
}

} // namespace

TEST(CrashSafeFiles, AListSaveKilledAnywhereLeavesTheOldOrTheNewList)
{
    QTemporaryDir work;
    const QString path = PositionListPath(work.path());
    QByteArray versions[2];
    for (int version : {1, 0}) {
        ASSERT_TRUE(SavePositionList(path, PositionListVersion(version)));
        versions[version] = FileBytes(path);
    }

    KillSavesAtRandom("list", work.path(), [&](int kill) {
        const QByteArray bytes = FileBytes(path);
        const int version = bytes == versions[0] ? 0 : bytes == versions[1] ? 1 : -1;
        EXPECT_GE(version, 0) << "kill " << kill << " left " << bytes.size() << " bytes";
        return version;
    });
}

TEST(CrashSafeFiles, TheSettingsDialogsSaveKilledAnywhereLeavesTheOldOrTheNewThirteenValues)
{
    QCoreApplication::setApplicationName(QStringLiteral("pantiro"));
    QTemporaryDir copies;
    const QString file = QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Korvath"),
                                   QCoreApplication::applicationName())
                             .fileName();
    SettingsStore store;
    QMap<QString, QString> versions[2];
    for (int version : {1, 0}) {
        SaveAllSettings(store, SettingsVersion(version));
        versions[version] = SettingsValues(file, copies.filePath(QStringLiteral("reference.conf")));
        ASSERT_EQ(versions[version].size(), 13);
    }

    KillSavesAtRandom("settings", QDir::currentPath(), [&](int kill) {
        const QMap<QString, QString> values =
            SettingsValues(file, copies.filePath(QStringLiteral("%1.conf").arg(kill)));
        const int version = values == versions[0] ? 0 : values == versions[1] ? 1 : -1;
        EXPECT_GE(version, 0) << "kill " << kill << " left " << values.size() << " values, Language "
                              << values.value(QStringLiteral("Language")).toStdString() << ", Options "
                              << values.value(QStringLiteral("Options")).toStdString();
        return version;
    });
}
