#include "base/JournalEvents.h"
#include "base/PasswordFile.h"
#include "base/Settings.h"
#include "sim/CameraServer.h"
#include "sim/Faults.h"
#include "sim/HeadModel.h"
#include "sim/Panorama.h"
#include "sim/UserClicks.h"
#include "tests/support/WaitUntil.h"

#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QSettings>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

QByteArray FileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Every file under `folder` that holds `secret`, but `except`.
QStringList FilesHolding(const QString& folder, const QByteArray& secret, const QString& except)
{
    QStringList holding;
    for (QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); it.hasNext();) {
        const QString path = it.next();
        if (path != except && FileBytes(path).contains(secret))
            holding << path;
    }
    return holding;
}

// The real program against a camera that requires the login, its patrol started with the window:
// the patrol's first click already has the login, and once the camera has admitted requests of
// every kind, the password is in none of the places a user, an administrator or another program
// could look: the profile, the journal, the process's command line and environment, its output.
TEST(CameraPassword, IsFoundNowhereButInItsOwnFile)
{
    const QByteArray password = "Geheim-Nachtwache-4711";
    HeadModel head{HeadModel::Settings{}};
    Panorama panorama{QSize(160, 120)};
    UserClicks clicks;
    Faults faults;
    CameraServer camera(head, panorama, clicks, faults);
    camera.requireLogin("wache", password, LoginCheck::Scheme::Digest);
    ASSERT_TRUE(camera.start(0));

    const QString profileFolder = SettingsStore::profileFolder();
    QSettings profile(profileFolder + u"/pantiro.conf"_s, QSettings::IniFormat);
    profile.beginGroup(u"Settings"_s);
    for (const auto& [name, value] : {std::pair{u"Language"_s, u"1"_s},
                                      {u"Comm"_s, u"Kein,9600"_s},
                                      {u"CommAdr"_s, u"127.0.0.1"_s},
                                      {u"CameraUser"_s, u"wache"_s},
                                      {u"Times"_s, u"150,0,0,1"_s},
                                      {u"Options"_s, u"0,0,1"_s}})
        profile.setValue(name, value);
    profile.sync();
    const QString passwordFile = profileFolder + u"/pantiro.password"_s;
    ASSERT_TRUE(WritePasswordFile(passwordFile, password));
    struct stat status {};
    ASSERT_EQ(::stat(QFile::encodeName(passwordFile).constData(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0600u);
    EXPECT_EQ(status.st_uid, ::geteuid());

    QFile list(u"pantiro.lst"_s);
    ASSERT_TRUE(list.open(QIODevice::WriteOnly) && list.write("Tor\t00300\t00000\r\n") > 0 && list.flush());
    QProcess pantiro;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"PANTIRO_CAMERA_PORT"_s, QString::number(camera.port()));
    pantiro.setProcessEnvironment(environment);
    pantiro.start(QString::fromUtf8(PANTIRO_EXE));
    ASSERT_TRUE(pantiro.waitForStarted());
    // Pictures, clicks and commands are served only to requests that answered the challenge.
    WAIT_UNTIL_MS(camera.picturesServed() >= 2 && clicks.count() >= 1, 30000);
    EXPECT_GT(head.state().commands, 0);
    const QString proc = u"/proc/%1/"_s.arg(pantiro.processId());
    EXPECT_FALSE(FileBytes(proc + u"cmdline"_s).isEmpty());
    EXPECT_FALSE(FileBytes(proc + u"cmdline"_s).contains(password));
    EXPECT_FALSE(FileBytes(proc + u"environ"_s).isEmpty());
    EXPECT_FALSE(FileBytes(proc + u"environ"_s).contains(password));
    ::kill(static_cast<pid_t>(pantiro.processId()), SIGTERM);
    ASSERT_TRUE(pantiro.waitForFinished(10000));
    EXPECT_EQ(pantiro.exitCode(), 0);

    const QByteArray journal = FileBytes(JournalPath());
    EXPECT_TRUE(journal.contains("user click at \"Tor\": success")) << journal.constData();
    EXPECT_FALSE(journal.contains("HTTP status 401")) << journal.constData();
    EXPECT_TRUE(journal.contains("Pantiro exited"));
    EXPECT_EQ(FilesHolding(profileFolder, password, passwordFile), QStringList());
    EXPECT_EQ(FilesHolding(QFileInfo(JournalPath()).absolutePath(), password, {}), QStringList());
    EXPECT_FALSE(pantiro.readAllStandardError().contains(password));
    EXPECT_FALSE(pantiro.readAllStandardOutput().contains(password));
    QFile::remove(passwordFile);
    QFile::remove(u"pantiro.lst"_s);
}

} // namespace
