#include "platform/SingleInstanceLock.h"
#include "platform/FileInUseLock.h"
#include "tests/support/FileModesBind.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>

#include <cstring>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

constexpr QFileDevice::Permissions kReadOnlyFolder =
    QFileDevice::ReadOwner | QFileDevice::ExeOwner | QFileDevice::ReadGroup | QFileDevice::ExeGroup;
constexpr QFileDevice::Permissions kWritableFolder = kReadOnlyFolder | QFileDevice::WriteOwner;

QByteArray holder(qint64 pid, const char* program, const QByteArray& host = QSysInfo::machineHostName().toUtf8())
{
    return QByteArray::number(pid) + '\n' + program + '\n' + host + '\n';
}

} // namespace

TEST(SingleInstanceLock, ASecondHolderOfOneProfileIsRefusedUntilTheFirstLetsGo)
{
    QTemporaryDir profiles;
    // The first start of a profile finds its folder missing.
    const QString profile = profiles.path() + QStringLiteral("/Korvath");
    SingleInstanceLock first(profile);
    SingleInstanceLock second(profile);
    SingleInstanceLock other(profiles.path() + QStringLiteral("/Other"));
    EXPECT_EQ(first.filePath(), profile + QStringLiteral("/pantiro.lock"));
    ASSERT_TRUE(first.tryAcquire());
    EXPECT_TRUE(first.tryAcquire()) << "held already";
    EXPECT_FALSE(second.tryAcquire());
    EXPECT_TRUE(second.heldElsewhere());
    EXPECT_TRUE(other.tryAcquire());
    first.release();
    EXPECT_TRUE(second.tryAcquire());
}

// A lock that names no live Pantiro never refuses a start for good; one that cannot be taken
// for another reason says why instead of claiming another instance.
TEST(SingleInstanceLock, ALockThatNamesNoLivePantiroIsTakenOverAndOneThatCannotBeTakenSaysWhy)
{
    QProcess gone;
    gone.start(u"/bin/true"_s, {});
    ASSERT_TRUE(gone.waitForStarted());
    const qint64 deadPid = gone.processId();
    ASSERT_TRUE(gone.waitForFinished());
    QProcess sleeper;
    sleeper.start(u"/bin/sleep"_s, {u"60"_s});
    ASSERT_TRUE(sleeper.waitForStarted());
    const qint64 livePid = sleeper.processId();

    enum Outcome { Taken, Held, Refused };
    const struct {
        const char* name;
        QByteArray contents; // written to the lock file
        int ageS;
        Outcome outcome;
        int error; // for Refused: the reason
    } cases[] = {
        {"dead process", holder(deadPid, "pantiro"), 0, Taken, 0},
        {"another program under the ID", holder(livePid, "pantiro"), 0, Taken, 0},
        {"empty, old", "", 3600, Taken, 0},
        {"garbage, old", "\x01garbage\n\n", 3600, Taken, 0},
        {"empty, still being named", "", 0, Held, 0},
        {"live holder", holder(livePid, "sleep"), 3600, Held, 0},
        {"holder on another host", holder(deadPid, "pantiro", "elsewhere.example"), 3600, Held, 0},
        {"a folder", {}, 0, Refused, EISDIR},
        {"a read-only folder", {}, 0, Refused, EACCES},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir profile;
        SingleInstanceLock lock(profile.path());
        if (c.error == EISDIR) {
            ASSERT_TRUE(QDir().mkdir(lock.filePath()));
        } else if (c.error == 0) {
            QFile file(lock.filePath());
            ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(c.contents) == c.contents.size() && file.flush());
            ASSERT_TRUE(
                file.setFileTime(QDateTime::currentDateTime().addSecs(-c.ageS), QFileDevice::FileModificationTime));
        }
        FileModesBind modes;
        QFile::setPermissions(profile.path(), c.error == EACCES ? kReadOnlyFolder : kWritableFolder);
        EXPECT_EQ(lock.tryAcquire() ? Taken : lock.heldElsewhere() ? Held : Refused, c.outcome);
        if (c.outcome == Refused) {
            EXPECT_EQ(lock.failure(), QString::fromLocal8Bit(std::strerror(c.error)));
            EXPECT_EQ(lock.folderRefusesFiles(), c.error == EACCES);
        }
        QFile::setPermissions(profile.path(), kWritableFolder);
    }
    sleeper.kill();
    sleeper.waitForFinished();
}

// Two starts in one folder exclude each other, whether the folder took a lock beside the list
// when each of them started or not.
TEST(FileInUseLock, TwoStartsInOneFolderExcludeEachOtherWhereverTheirLocksLie)
{
    const struct {
        bool firstFindsWritableFolder;
        bool secondFindsWritableFolder;
    } cases[] = {{true, true}, {false, false}, {true, false}, {false, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.firstFindsWritableFolder << c.secondFindsWritableFolder);
        QTemporaryDir folder;
        const QString list = folder.filePath(u"pantiro.lst"_s);
        ASSERT_TRUE(QFile(list).open(QIODevice::WriteOnly));
        // Another spelling of the same file finds the same lock.
        const QString otherSpelling = folder.path() + u"/./pantiro.lst"_s;
        FileModesBind modes;
        std::optional<FileInUseLock> first(std::in_place, list);
        FileInUseLock second(otherSpelling);
        QFile::setPermissions(folder.path(), c.firstFindsWritableFolder ? kWritableFolder : kReadOnlyFolder);
        ASSERT_TRUE(first->tryAcquire()) << first->failedPath().toStdString() << ": " << first->failure().toStdString();
        EXPECT_EQ(QFile::exists(list + u".lock"_s), c.firstFindsWritableFolder);
        EXPECT_TRUE(QFile::exists(FileInUseLock::runtimeLockPath(list)));
        QFile::setPermissions(folder.path(), c.secondFindsWritableFolder ? kWritableFolder : kReadOnlyFolder);
        EXPECT_FALSE(second.tryAcquire());
        EXPECT_TRUE(second.heldElsewhere());
        first.reset();
        EXPECT_TRUE(second.tryAcquire()) << "free once the first has gone";
        QFile::setPermissions(folder.path(), kWritableFolder);
    }
}
