#include "base/AppConfig.h"
#include "base/Settings.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QRegularExpression>
#include <QSettings>

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <functional>
#include <sys/resource.h>

namespace {

QString settingsFile()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Korvath"),
                     QCoreApplication::applicationName())
        .fileName();
}

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override { QFile::remove(settingsFile()); }

    // Writes the settings file as an operator would by hand.
    void handEdit(const QByteArray& settingsSection)
    {
        QDir().mkpath(QFileInfo(settingsFile()).path());
        QFile file(settingsFile());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[Settings]\n" + settingsSection);
        file.flush();
        // QSettings rereads a file only when its size or time changed; quick edits of one size would not be.
        file.setFileTime(QDateTime::currentDateTime().addSecs(++edits), QFileDevice::FileModificationTime);
    }

    QByteArray fileContents()
    {
        QFile file(settingsFile());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    ActPos load()
    {
        return LoadSettings(store, config, [this] { ++languageDialogRuns; });
    }

    SettingsStore store;
    AppConfig config;
    int languageDialogRuns = 0;
    int edits = 0;
};

TEST_F(SettingsTest, FirstStartAsksForTheLanguageAndTakesEveryDefaultWithoutWritingThem)
{
    const ActPos position = load();

    EXPECT_EQ(languageDialogRuns, 1);
    EXPECT_EQ(config.language, 0);
    EXPECT_EQ(config.portName, QStringLiteral("COM1"));
    EXPECT_EQ(config.baudRate, 9600);
    EXPECT_TRUE(config.usesSerialPort());
    EXPECT_EQ(config.cameraAddress, QStringLiteral("0.0.0.0"));
    // One wrong digit would move the head one way while the counter counts the other. Stop, Up,
    // Right, Down, Left and Automatic send these keypad digits to the head's serial line.
    const QLatin1String keypadDigits("586240");
    for (int number = 1; number <= 6; ++number)
        EXPECT_EQ(config.command(number),
                  QStringLiteral("control/rcontrol?action=putrs232&rs232outtext=%1&dummy=24324000000")
                      .arg(keypadDigits[number - 1]))
            << "Cmd" << number;
    EXPECT_EQ(config.command(7), QStringLiteral("record/current.jpg"));
    EXPECT_EQ(config.command(8), QStringLiteral("control/rcontrol?action=userclick&dummy=23458000000"));
    EXPECT_EQ(config.dwellMs, 1000);
    EXPECT_EQ(config.cyclePauseSec, 10);
    EXPECT_EQ(config.zeroDriveExtraSec, 5);
    EXPECT_EQ(config.referenceDriveSec, 60);
    EXPECT_EQ(config.driveYPositions + config.soundSignals + config.autoStartPatrol, 0);
    EXPECT_EQ(position.x, 0);
    EXPECT_EQ(position.y, 0);
    EXPECT_FALSE(fileContents().contains("Comm")) << "defaults are never written back";
}

TEST_F(SettingsTest, StoredLanguageSkipsTheDialog)
{
    for (const auto& [stored, expected] : {std::pair{"1", 1}, {"0", 0}, {"abc", 0}, {"7", 7}}) {
        handEdit(QByteArray("Language=") + stored + "\n");
        config.language = -5;
        load();
        EXPECT_EQ(config.language, expected) << stored;
    }
    EXPECT_EQ(languageDialogRuns, 0);
}

TEST_F(SettingsTest, PortAndBaudFollowTheTokenRules)
{
    handEdit("Comm=\",,COM2,,38400\"\n");
    load();
    EXPECT_EQ(config.portName, QStringLiteral("COM2"));
    EXPECT_EQ(config.baudRate, 38400);

    config = AppConfig();
    handEdit("Comm=COM3\n");
    load();
    EXPECT_EQ(config.portName, QStringLiteral("COM3"));
    EXPECT_EQ(config.baudRate, 0);

    for (const char* camera : {"Kein,9600", "None,9600"}) {
        handEdit(QByteArray("Comm=\"") + camera + "\"\n");
        load();
        EXPECT_FALSE(config.usesSerialPort()) << camera;
        EXPECT_EQ(config.baudRate, 9600);
    }
}

TEST_F(SettingsTest, HandEditedValuesWithCommasReadLikeQuotedOnes)
{
    handEdit("Comm=,,COM2,,38400\nTimes=2000,5\nOptions=1,0,1\nActPos=-120,40\nCmd1=a,b\n");
    const ActPos position = load();

    EXPECT_EQ(config.portName, QStringLiteral("COM2"));
    EXPECT_EQ(config.baudRate, 38400);
    EXPECT_EQ(config.dwellMs, 2000);
    EXPECT_EQ(config.cyclePauseSec, 5);
    EXPECT_EQ(config.zeroDriveExtraSec, 0);
    EXPECT_EQ(config.referenceDriveSec, 0);
    EXPECT_EQ(config.driveYPositions, 1);
    EXPECT_EQ(config.soundSignals, 0);
    EXPECT_EQ(config.autoStartPatrol, 1);
    EXPECT_EQ(position.x, -120);
    EXPECT_EQ(position.y, 40);
    EXPECT_EQ(config.command(1), QStringLiteral("a,b"));
}

// Qt's reader takes ";" for a comment, trims blanks and reads backslash escapes in unquoted
// values; what the program writes, and what is hand-edited as the README says, comes back whole.
TEST_F(SettingsTest, CommandTextsWithSemicolonsCommasBlanksAndBackslashesSurviveTheFile)
{
    const QString texts[] = {
        QStringLiteral("cgi;a=1"), QStringLiteral("a, b ,c"), QStringLiteral("  both ends  "),
        QStringLiteral("dir\\tab\\n"), QStringLiteral(" \\;, mixed\\\\ "), QStringLiteral("\"quoted\""),
    };
    for (size_t i = 0; i < std::size(texts); ++i)
        config.commands.at(i) = texts[i];
    SaveAllSettings(store, config);
    AppConfig reloaded;
    LoadSettings(store, reloaded, {});
    EXPECT_EQ(reloaded.commands, config.commands);

    handEdit("Language=0\nCmd2=\" cgi;x=1, y \\\\ z \"\n");
    load();
    EXPECT_EQ(config.command(2), QStringLiteral(" cgi;x=1, y \\ z "));
}

TEST_F(SettingsTest, TextsLongerThanTheirFieldsAreCut)
{
    SettingsStore().write(QStringLiteral("Comm"), QString(60, u'C') + QStringLiteral(",9600"));
    SettingsStore().write(QStringLiteral("CommAdr"), QString(70, u'1'));
    SettingsStore().write(QStringLiteral("Cmd3"), QString(300, u'p'));
    load();
    EXPECT_EQ(config.portName, QString(50, u'C'));
    EXPECT_EQ(config.baudRate, 9600);
    EXPECT_EQ(config.cameraAddress, QString(50, u'1'));
    EXPECT_EQ(config.command(3), QString(255, u'p'));
}

TEST_F(SettingsTest, PositionAndAllSettingsAreWrittenInTheirFormats)
{
    SaveActPos(store, 350, -20);
    EXPECT_EQ(store.read(QStringLiteral("ActPos"), {}), QStringLiteral("350,-20"));

    config.language = 1;
    config.portName = QStringLiteral("Kein");
    config.baudRate = 19200;
    config.cameraAddress = QStringLiteral("127.1.2.3");
    for (int i = 0; i < AppConfig::kCommandCount; ++i)
        config.commands.at(static_cast<size_t>(i)) = QStringLiteral("path%1 with, comma").arg(i + 1);
    config.dwellMs = 1500;
    config.cyclePauseSec = -3;
    config.zeroDriveExtraSec = 7;
    config.referenceDriveSec = 90;
    config.driveYPositions = 1;
    config.autoStartPatrol = 1;
    SaveAllSettings(store, config);

    EXPECT_EQ(store.read(QStringLiteral("Language"), {}), QStringLiteral("1"));
    EXPECT_EQ(store.read(QStringLiteral("Comm"), {}), QStringLiteral("Kein,19200"));
    EXPECT_EQ(store.read(QStringLiteral("CommAdr"), {}), QStringLiteral("127.1.2.3"));
    EXPECT_EQ(store.read(QStringLiteral("Cmd8"), {}), QStringLiteral("path8 with, comma"));
    EXPECT_EQ(store.read(QStringLiteral("Times"), {}), QStringLiteral("1500,-3,7,90"));
    EXPECT_EQ(store.read(QStringLiteral("Options"), {}), QStringLiteral("1,0,1"));
    EXPECT_EQ(store.read(QStringLiteral("ActPos"), {}), QStringLiteral("350,-20")) << "untouched by the dialog's save";

    AppConfig reloaded;
    const ActPos position = LoadSettings(store, reloaded, {});
    EXPECT_EQ(reloaded.language, 1);
    EXPECT_EQ(reloaded.portName, config.portName);
    EXPECT_EQ(reloaded.baudRate, 19200);
    EXPECT_EQ(reloaded.commands, config.commands);
    EXPECT_EQ(reloaded.cyclePauseSec, -3);
    EXPECT_EQ(position.x, 350);
    EXPECT_EQ(position.y, -20);
}

TEST_F(SettingsTest, EveryWayASaveCanFailLeavesTheOldFileOrTheWholeNewOne)
{
    // The lock a save writes first names the process and the machine: its size differs between
    // machines, so the limits are set around it.
    const QString probe =
        QDir::temp().filePath(QStringLiteral("pantiro-%1.lock").arg(QCoreApplication::applicationPid()));
    QLockFile probeLock(probe);
    ASSERT_TRUE(probeLock.lock());
    const auto lockSize = static_cast<rlim_t>(QFileInfo(probe).size());
    const struct {
        const char* what;
        rlim_t fileSizeLimit; // a disk that fills up, as one file sees it
        bool folderGone;
        bool readOnly; // chmod 444 by the operator: for root as well
        bool saves;
    } ways[] = {{"nothing in the way", RLIM_INFINITY, false, false, true},
                {"lock refused", lockSize - 1, false, false, false},
                {"full before the write", 0, false, false, false},
                {"full in the middle", lockSize + 64, false, false, false},
                {"read-only file", RLIM_INFINITY, false, true, false},
                {"directory gone", RLIM_INFINITY, true, false, true}};
    AppConfig changed;
    changed.commands.fill(QString(200, u'c'));
    const struct {
        std::function<bool()> save;
        QString name, value;
        qsizetype values;
    } writers[] = {{[&] { return SaveAllSettings(store, changed); }, QStringLiteral("Cmd8"), QString(200, u'c'), 13},
                   {[&] { return SaveLanguage(store, 1); }, QStringLiteral("Language"), QStringLiteral("1"), 1},
                   {[&] { return SaveActPos(store, 120, 45); }, QStringLiteral("ActPos"), QStringLiteral("120,45"), 1}};
    // What an operator may add by hand, and enough of it that the file outgrows the toolkit's
    // 16 KB write buffer, so that a short write shows at the write, not at the flush.
    QByteArray handMade = "Mast=north ; a key Pantiro does not know\n; the head on the mast\n\n[Camera]\nUser=\"op\"\n";
    for (int i = 0; i < 400; ++i)
        handMade += "; note " + QByteArray::number(i) + ": " + QByteArray(50, 'n') + '\n';
    const auto handLines = [](const QByteArray& text) {
        static const QRegularExpression pantiros(
            QStringLiteral("^(Language|Comm|CommAdr|Cmd[1-8]|Times|Options|ActPos)="));
        QByteArrayList lines = text.split('\n');
        lines.removeIf([](const QByteArray& line) { return pantiros.match(QString::fromUtf8(line)).hasMatch(); });
        return lines;
    };
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    const QFileInfo file(settingsFile());
    for (const QByteArray& start : {QByteArray(), handMade}) {
        for (const auto& way : ways) {
            for (const auto& writer : writers) {
                const std::string what = std::string(way.what) + ", " + writer.name.toStdString()
                                         + (start.isEmpty() ? "" : ", hand-made file");
                QFile::remove(file.filePath());
                if (!start.isEmpty())
                    handEdit(start);
                config.commands.fill(QString(200, u'o'));
                ASSERT_TRUE(SaveAllSettings(store, config) && SaveActPos(store, -7, 8)) << what;
                const QByteArray old = fileContents();
                if (way.folderGone)
                    file.dir().removeRecursively();
                if (way.readOnly)
                    QFile::setPermissions(file.filePath(),
                                          QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther);
                const rlimit small{std::min(way.fileSizeLimit, limit.rlim_max), limit.rlim_max};
                setrlimit(RLIMIT_FSIZE, &small);
                const bool saved = writer.save();
                setrlimit(RLIMIT_FSIZE, &limit);
                EXPECT_EQ(saved, way.saves) << what;
                if (saved) {
                    EXPECT_EQ(store.read(writer.name, {}), writer.value) << what;
                    // Gone with its folder, the old file cannot stay: the new one is whole.
                    if (way.folderGone)
                        EXPECT_EQ(QSettings(file.filePath(), QSettings::IniFormat).allKeys().size(), writer.values);
                    else
                        EXPECT_EQ(handLines(fileContents()), handLines(old)) << what << ": lines not Pantiro's";
                } else {
                    EXPECT_EQ(fileContents(), old) << what;
                }
                EXPECT_EQ(file.dir().entryList({file.fileName() + QStringLiteral(".?*")}, QDir::Files), QStringList())
                    << what;
                QFile::setPermissions(file.filePath(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
            }
        }
    }
}

TEST_F(SettingsTest, ALockLeftByAKilledSaveDoesNotHoldUpTheNextSave)
{
    // The lock of a writer that has died, as it named itself in it: no process has that number.
    const QString probe =
        QDir::temp().filePath(QStringLiteral("pantiro-%1.lock").arg(QCoreApplication::applicationPid()));
    QByteArray deadLock;
    {
        QLockFile probeLock(probe);
        QFile written(probe);
        ASSERT_TRUE(probeLock.lock() && written.open(QIODevice::ReadOnly));
        deadLock = written.readAll();
    }
    deadLock.replace(0, deadLock.indexOf('\n'), "2147483647");

    const QString lockFile = settingsFile() + QStringLiteral(".lock");
    const struct {
        const char* what;
        QByteArray lock;
        bool takeoverGuard;
    } leftovers[] = {
        {"killed between creating its lock and naming itself in it", {}, false},
        {"killed while it took over the lock of a dead writer", deadLock, true},
    };
    for (const auto& left : leftovers) {
        QDir().mkpath(QFileInfo(settingsFile()).path());
        QFile lock(lockFile);
        ASSERT_TRUE(lock.open(QIODevice::WriteOnly) && lock.write(left.lock) == left.lock.size());
        lock.close();
        if (left.takeoverGuard) {
            QFile guard(lockFile + QStringLiteral(".rmlock"));
            ASSERT_TRUE(guard.open(QIODevice::WriteOnly));
        }

        QElapsedTimer clock;
        clock.start();
        config.portName = QStringLiteral("COM%1").arg(left.takeoverGuard ? 5 : 4);
        EXPECT_TRUE(SaveAllSettings(store, config)) << left.what;
        EXPECT_LT(clock.elapsed(), 5000) << left.what << ": waited for the lock to go stale";
        EXPECT_EQ(store.read(QStringLiteral("Comm"), {}), config.portName + QStringLiteral(",0")) << left.what;
    }
}

}  // namespace
