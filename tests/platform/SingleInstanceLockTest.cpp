#include "platform/SingleInstanceLock.h"
#include "tests/support/FileModesBind.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>

#include <cstring>

#include <unistd.h>

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
    // The process that started this test lives on, under a name of its own.
    const qint64 livePid = ::getppid();
    QFile comm(u"/proc/%1/comm"_s.arg(livePid));
    ASSERT_TRUE(comm.open(QIODevice::ReadOnly));
    const QByteArray liveName = comm.readAll().trimmed();

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
        {"live holder", holder(livePid, liveName.constData()), 3600, Held, 0},
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
}
