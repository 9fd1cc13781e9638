#include "tests/app/AppTestFixture.h"

#include "app/CSelLangDlg.h"
#include "app/ProcessState.h"
#include "app/RunPantiro.h"
#include "base/AppConfig.h"
#include "base/JournalEvents.h"
#include "platform/DialogBuilder.h"
#include "tests/positions/FileBytes.h"
#include "tests/support/FileModesBind.h"
#include "tests/support/PseudoTerminal.h"
#include "tests/support/ScriptedMessageBoxes.h"
#include "tests/support/WaitUntil.h"

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <cstring>

using namespace Qt::StringLiterals;

namespace {

void chooseLanguage(QDialog& dialog, int radioId)
{
    EXPECT_TRUE(Control<QRadioButton>(dialog, CSelLangDlg::kGermanId)->isChecked());
    EXPECT_FALSE(Control<QRadioButton>(dialog, CSelLangDlg::kEnglishId)->isChecked());
    QTest::mouseClick(Control<QRadioButton>(dialog, radioId), Qt::LeftButton);
    QTest::mouseClick(Control<QPushButton>(dialog, CSelLangDlg::kOkId), Qt::LeftButton);
}

QString settingsPath()
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, u"Korvath"_s, QCoreApplication::applicationName())
        .fileName();
}

QByteArray settingsFile()
{
    QFile file(settingsPath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

constexpr QFileDevice::Permissions kReadOnlyFolder = QFileDevice::ReadOwner | QFileDevice::ExeOwner;
constexpr QFileDevice::Permissions kWritableFolder = kReadOnlyFolder | QFileDevice::WriteOwner;

// The exit code of a second start's try at the locks in `environment`: 0 taken, 1 refused, 2 the list refused.
int probeLock(const QProcessEnvironment& environment, const QString& profile = {})
{
    QProcess probe;
    probe.setProcessEnvironment(environment);
    probe.start(QStringLiteral(PANTIRO_LOCK_PROBE), profile.isEmpty() ? QStringList() : QStringList{profile});
    return probe.waitForFinished(10000) && probe.exitStatus() == QProcess::NormalExit ? probe.exitCode() : -1;
}

} // namespace

TEST_F(AppTest, FirstStartAsksForTheLanguageEnglishAndOkStoreItAndTheWindowComesUpEnglish)
{
    dialogs.expect(u"CSelLangDlg"_s, [](QDialog& dialog) { chooseLanguage(dialog, CSelLangDlg::kEnglishId); });
    CAppDlg& window = start();
    EXPECT_EQ(setting("Language"), u"1"_s);
    EXPECT_EQ(appConfig().language, 1);
    EXPECT_EQ(ControlText(window, 51), u"View"_s);
    EXPECT_EQ(ControlText(window, 101), u"Settings"_s);
    EXPECT_EQ(ControlText(window, 150), u"Exit"_s);
    EXPECT_EQ(setting("ActPos"), u"<missing>"_s) << "nothing else is written at the first start";
}

TEST_F(AppTest, TheLanguageDialogCancelledStoresNothingAndReturnsAtTheNextStart)
{
    dialogs.expect(u"CSelLangDlg"_s, [](QDialog& dialog) {
        QTest::mouseClick(Control<QRadioButton>(dialog, CSelLangDlg::kEnglishId), Qt::LeftButton);
        QTest::keyClick(&dialog, Qt::Key_Escape);
    });
    CAppDlg& window = start();
    EXPECT_EQ(setting("Language"), u"<missing>"_s);
    EXPECT_EQ(appConfig().language, 0);
    EXPECT_EQ(ControlText(window, 51), u"Beobachtung"_s);

    stop();
    dialogs.expect(u"CSelLangDlg"_s, [](QDialog& dialog) { chooseLanguage(dialog, CSelLangDlg::kGermanId); });
    start();
    EXPECT_EQ(setting("Language"), u"0"_s);
    EXPECT_EQ(dialogs.shownCount(), 2);
}

TEST_F(AppTest, AStoredLanguageSkipsTheDialog)
{
    writeSetting("Language", u"0"_s);
    EXPECT_EQ(ControlText(start(), 150), u"Beenden"_s);
    stop();
    writeSetting("Language", u"1"_s);
    EXPECT_EQ(ControlText(start(), 150), u"Exit"_s);
    EXPECT_EQ(dialogs.shownCount(), 0);
}

// A first start would ask for the language and write it; without sockets none of that happens.
TEST_F(AppTest, WithoutSocketsTheStartEndsAtItsMessageBeforeAnythingIsReadOrWritten)
{
    QFile::remove(settingsPath());
    ScriptedMessageBoxes::expect(u"Socket Init Error"_s, MessageButtons::Ok, MessageIcon::Information,
                                 MessageAnswer::Ok);
    EXPECT_EQ(RunPantiro(false), 1);
    EXPECT_FALSE(QFile::exists(settingsPath()));
    EXPECT_EQ(ScriptedMessageBoxes::shown().size(), 1);
}

TEST_F(AppTest, ASecondInstanceIsRefusedInTheProfilesLanguageAndLeavesTheFirstAsItWas)
{
    writeSetting("Language", u"1"_s);
    writeSetting("ActPos", u"-120,40"_s);
    TrayIcon::overrideAvailability(true);
    CAppDlg& first = start();
    first.showMinimized();
    WAIT_UNTIL(!first.isVisible());
    const QByteArray storedBefore = settingsFile();

    ScriptedMessageBoxes::expect(u"Pantiro is already running on this system !"_s, MessageButtons::Ok,
                                 MessageIcon::Information, MessageAnswer::Ok);
    CPantiroApp second;
    EXPECT_FALSE(second.InitInstance());
    EXPECT_EQ(second.mainDialog(), nullptr);

    EXPECT_FALSE(first.isVisible());
    EXPECT_EQ(processState().motion.minimised, 1);
    EXPECT_EQ(processState().motion.posX, -120);
    EXPECT_EQ(appConfig().language, 1);
    EXPECT_TRUE(first.tray().isAdded());
    EXPECT_EQ(settingsFile(), storedBefore);
}

TEST_F(AppTest, ASecondStartWhileTheFirstStillAsksForTheLanguageIsRefusedToo)
{
    dialogs.expect(u"CSelLangDlg"_s, [](QDialog& dialog) {
        ScriptedMessageBoxes::expect(u"Pantiro ist auf diesem System bereits aktiviert !"_s, MessageButtons::Ok,
                                     MessageIcon::Information, MessageAnswer::Ok);
        CPantiroApp second;
        EXPECT_FALSE(second.InitInstance());
        chooseLanguage(dialog, CSelLangDlg::kGermanId);
    });
    start();
    EXPECT_EQ(setting("Language"), u"0"_s);
}

TEST_F(AppTest, TheLockGuardsTheSettingsProfileWhateverTheRuntimeDirectorySays)
{
    writeSetting("Language", u"0"_s);
    start();
    QTemporaryDir otherRuntime;
    QTemporaryDir otherProfile;
    const auto environment = [](const char* name, const QString& value) {
        QProcessEnvironment changed = QProcessEnvironment::systemEnvironment();
        if (value.isEmpty())
            changed.remove(QString::fromLatin1(name));
        else
            changed.insert(QString::fromLatin1(name), value);
        return changed;
    };
    const struct {
        const char* name;
        QString value;
        int exitCode;
    } cases[] = {
        {"XDG_RUNTIME_DIR", {}, 1},
        {"XDG_RUNTIME_DIR", otherRuntime.path(), 1},
        {"XDG_CONFIG_HOME", otherProfile.path(), 2},
    };
    for (const auto& c : cases)
        EXPECT_EQ(probeLock(environment(c.name, c.value)), c.exitCode) << c.name << "=" << c.value.toStdString();

    stop();
    EXPECT_EQ(probeLock(QProcessEnvironment::systemEnvironment()), 0) << "the profile is free once the first has ended";
}

// A second profile started in the same folder is refused the list, whether the folder took the
// list's lock beside it when either of them started or not.
TEST_F(AppTest, ASecondProfileInTheSameFolderIsRefusedTheListWhereverItsLockLies)
{
    const QString work = QDir::currentPath();
    const QString list = work + u"/pantiro.lst"_s;
    ASSERT_TRUE(QFile(list).open(QIODevice::WriteOnly));
    QTemporaryDir otherProfiles;
    const auto useProfiles = [](const QString& folder) {
        for (const auto format : {QSettings::NativeFormat, QSettings::IniFormat})
            QSettings::setPath(format, QSettings::UserScope, folder);
    };
    FileModesBind modes;
    const auto restore = qScopeGuard([&] {
        QFile::setPermissions(work, kWritableFolder);
        QFile::remove(list);
        useProfiles(qEnvironmentVariable("XDG_CONFIG_HOME"));
    });
    const bool folderTakesLock[][2] = {{true, true}, {false, false}, {true, false}, {false, true}};
    for (const auto& [forFirst, forSecond] : folderTakesLock) {
        SCOPED_TRACE(testing::Message() << "the folder takes a lock for the first " << forFirst << ", the second "
                                        << forSecond);
        QFile::setPermissions(work, forFirst ? kWritableFolder : kReadOnlyFolder);
        writeSetting("Language", u"0"_s);
        start();
        QFile::setPermissions(work, forSecond ? kWritableFolder : kReadOnlyFolder);
        useProfiles(otherProfiles.path());
        writeSetting("Language", u"1"_s);
        ScriptedMessageBoxes::expect(u"The position file %1 is already used by another running Pantiro !"_s.arg(list),
                                     MessageButtons::Ok, MessageIcon::Information, MessageAnswer::Ok);
        EXPECT_FALSE(CPantiroApp().InitInstance());
        useProfiles(qEnvironmentVariable("XDG_CONFIG_HOME"));
        stop();
    }
}

// Two heads from one desk: the real program with two profiles side by side, each in a folder and
// on a line of its own, each refusing a second start of its profile only, each with its own files.
TEST(Profiles, TwoProfilesRunSideBySideEachWithItsOwnFilesAndEachOnlyOnce)
{
    const QString settings = SettingsStore::profileFolder() + u"/pantiro-"_s;
    const QString journals = QFileInfo(JournalPath()).absolutePath() + u"/pantiro"_s;
    const auto text = [](const QString& path) { return QString::fromUtf8(FileBytes(path)); };
    struct Head {
        QString name;
        PseudoTerminal line;
        QTemporaryDir work;
        QProcess pantiro;
        qint64 pid = 0;
    } heads[2];
    for (Head& head : heads) {
        head.name = &head == heads ? u"nord"_s : u"Sued_2"_s;
        QSettings profile(settings + head.name + u".conf"_s, QSettings::IniFormat);
        profile.setValue(u"Settings/Language"_s, u"0"_s);
        profile.setValue(u"Settings/Comm"_s, head.line.devicePath() + u",9600"_s);
        profile.sync();
        head.pantiro.setWorkingDirectory(head.work.path());
        head.pantiro.start(QStringLiteral(PANTIRO_EXE), {u"--profile"_s, head.name});
        ASSERT_TRUE(head.pantiro.waitForStarted());
        head.pid = head.pantiro.processId();
    }
    for (Head& head : heads) {
        // The lock names its holder once the start holds the profile.
        WAIT_UNTIL(text(settings + head.name + u".lock"_s).startsWith(QString::number(head.pid)));
        EXPECT_EQ(probeLock(QProcessEnvironment::systemEnvironment(), head.name), 1);
    }
    EXPECT_EQ(probeLock(QProcessEnvironment::systemEnvironment()), 0) << "the default profile stays free";
    for (Head& head : heads) {
        SCOPED_TRACE(head.name.toStdString());
        ::kill(static_cast<pid_t>(head.pid), SIGTERM);
        EXPECT_EQ(head.line.read(1, std::chrono::seconds(3)), "5") << "the end stops this head, on its own line";
        ASSERT_TRUE(head.pantiro.waitForFinished(10000));
        EXPECT_TRUE(text(settings + head.name + u".conf"_s).contains(u"ActPos="_s));
        const QString journal = text(journals + u'-' + head.name + u".log"_s);
        for (const Head& other : heads) {
            const QRegularExpression itsPid(u"\\b%1\\b"_s.arg(other.pid));
            EXPECT_EQ(journal.contains(itsPid), &other == &head) << journal.toStdString();
        }
    }
    EXPECT_FALSE(QFile::exists(journals + u".log"_s));
}

// Not "already running": where and why, in the profile's language.
TEST_F(AppTest, ALockThatCannotBeTakenSaysWhereAndWhyInTheProfilesLanguage)
{
    const QString lock = SettingsStore::profileFolder() + u"/pantiro.lock"_s;
    writeSetting("Language", u"1"_s);
    ASSERT_TRUE(QDir().mkpath(lock));
    const QString reason = QString::fromLocal8Bit(std::strerror(EISDIR));
    ScriptedMessageBoxes::expect(u"Cannot create the lock file %1: %2 !"_s.arg(lock, reason), MessageButtons::Ok,
                                 MessageIcon::Information, MessageAnswer::Ok);
    EXPECT_FALSE(CPantiroApp().InitInstance());
    EXPECT_TRUE(QDir(lock).removeRecursively());
}

// A save killed midway leaves its copy beside the file; the next start removes Pantiro's own
// and nothing else.
TEST_F(AppTest, CopiesLeftBySavesCutOffAreRemovedAtTheNextStart)
{
    const QString work = QDir::currentPath() + u'/';
    const QString profile = SettingsStore::profileFolder() + u'/';
    const struct {
        QString path;
        bool removed;
    } cases[] = {
        {work + u"pantiro.lst.AbC12z"_s, true},   {settingsPath() + u".QwErTy"_s, true},
        {work + u"pantiro.lst.bak"_s, false},     {work + u"pantiro.lst.AbC12"_s, false},
        {work + u"pantiro.lst.AbC12zz"_s, false}, {work + u"pantiro.lst.AbC-2z"_s, false},
        {work + u"other.lst.AbC12z"_s, false},    {profile + u"pantiro.lst.AbC12z"_s, false},
    };
    for (const auto& c : cases)
        ASSERT_TRUE(QFile(c.path).open(QIODevice::WriteOnly)) << c.path.toStdString();
    writeSetting("Language", u"0"_s);
    start();
    for (const auto& c : cases) {
        EXPECT_NE(QFile::exists(c.path), c.removed) << c.path.toStdString();
        QFile::remove(c.path);
    }
}
