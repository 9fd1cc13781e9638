#include "platform/SingleInstanceLock.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

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
    EXPECT_TRUE(other.tryAcquire());
    first.release();
    EXPECT_TRUE(second.tryAcquire());
}

TEST(SingleInstanceLock, TheLockOfAProcessThatIsGoneIsTakenOver)
{
    QProcess gone;
    gone.start(QStringLiteral("/bin/true"), {});
    ASSERT_TRUE(gone.waitForStarted());
    const qint64 deadPid = gone.processId();
    ASSERT_TRUE(gone.waitForFinished());

    QTemporaryDir profile;
    SingleInstanceLock lock(profile.path());
    QByteArray contents;
    {
        // A lock file as a real holder writes it, then handed to the process that has ended.
        QLockFile holder(lock.filePath());
        ASSERT_TRUE(holder.tryLock(0));
        QFile file(lock.filePath());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        contents = file.readAll();
    }
    contents = QByteArray::number(deadPid) + contents.mid(contents.indexOf('\n'));
    QFile file(lock.filePath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(contents);
    file.close();

    EXPECT_TRUE(lock.tryAcquire());
}
