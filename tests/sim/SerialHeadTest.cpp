#include "sim/SerialHead.h"

#include "sim/HeadModel.h"
#include "tests/sim/ManualClock.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>
#include <fcntl.h>
#include <thread>
#include <unistd.h>

namespace {

class SimSerialHeadTest : public ::testing::Test {
protected:
    // As the controller does: open the port, write, close.
    static void writeLine(const QString& path, const char* bytes)
    {
        const int fd = ::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
        ASSERT_GE(fd, 0);
        EXPECT_EQ(::write(fd, bytes, std::strlen(bytes)), static_cast<ssize_t>(std::strlen(bytes)));
        ::close(fd);
    }
    void waitForCommands(int64_t count)
    {
        for (int i = 0; i < 500 && head.state().commands < count; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        ASSERT_EQ(head.state().commands, count);
    }

    QTemporaryDir folder;
    QString link = folder.filePath(QStringLiteral("head"));
    ManualClock clock;
    HeadModel head{HeadModel::Settings{}, clock.clock()};
    SerialHead serial{head};
};

TEST_F(SimSerialHeadTest, BytesOnTheLineMoveTheHead)
{
    ASSERT_TRUE(serial.open(link)) << qPrintable(serial.errorString());
    EXPECT_EQ(QFileInfo(link).symLinkTarget(), serial.devicePath());

    writeLine(link, "6");
    waitForCommands(1);
    clock.advance(1050);
    EXPECT_DOUBLE_EQ(head.state().pan, 185.0);

    // The line stays up when the controller closes and opens its port again.
    writeLine(serial.devicePath(), "x\n5");
    waitForCommands(2);
    clock.advance(1000);
    EXPECT_DOUBLE_EQ(head.state().pan, 185.5);
    EXPECT_EQ(head.state().direction, HeadMotion::Stop);

    serial.close();
    EXPECT_FALSE(QFileInfo(link).isSymLink());
}

TEST_F(SimSerialHeadTest, ReplacesOnlyAStaleLink)
{
    ASSERT_EQ(::symlink("/dev/pts/does-not-exist", link.toLocal8Bit().constData()), 0);
    ASSERT_TRUE(serial.open(link));
    EXPECT_EQ(QFileInfo(link).symLinkTarget(), serial.devicePath());
    serial.close();

    QFile file(link);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("keep");
    file.close();
    EXPECT_FALSE(serial.open(link));
    EXPECT_FALSE(serial.errorString().isEmpty());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("keep"));
}

} // namespace
