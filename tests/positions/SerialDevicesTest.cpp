#include "positions/SerialDevices.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

// A folder laid out like /dev: kernel devices as FIFOs (no plain files either), stable names as relative links.
TEST(SerialDevices, StableNamesComeFirstAndStandForTheirKernelDevicesUnlessTheyCannotBeStored)
{
    // Under /tmp itself, whatever TMPDIR says: a stable name must fit the 50 characters of a port name.
    const QTemporaryDir dev(u"/tmp/pantiro-dev-XXXXXX"_s);
    for (const char* name : {"ttyUSB0", "ttyUSB1", "ttyUSB2", "ttyUSB10", "ttyACM0", "ttyS0", "ttyprintk"})
        ASSERT_EQ(mkfifo(QFile::encodeName(dev.filePath(QString::fromLatin1(name))).constData(), 0600), 0) << name;
    QDir().mkpath(dev.filePath(u"serial/by-id"_s));
    const auto stableName = [&](const QString& name, const QString& kernelName) {
        QFile::link(u"../../"_s + kernelName, dev.filePath(u"serial/by-id/"_s + name));
    };
    ASSERT_LE(dev.filePath(u"serial/by-id/u-A1"_s).size(), 50) << "the fake folder's path must leave room";
    stableName(u"u-A1"_s, u"ttyUSB2"_s);
    stableName(u"usb-Prolific_Technology_Inc._USB-Serial_Controller-if00-port0"_s, u"ttyUSB1"_s);
    stableName(u"u,1"_s, u"ttyUSB0"_s);

    EXPECT_EQ(SerialDevicePaths(dev.path()),
              (QStringList{dev.filePath(u"serial/by-id/u-A1"_s), dev.filePath(u"ttyUSB0"_s), dev.filePath(u"ttyUSB1"_s),
                           dev.filePath(u"ttyUSB10"_s), dev.filePath(u"ttyACM0"_s)}));
    EXPECT_TRUE(SerialDevicePaths(dev.filePath(u"missing"_s)).isEmpty());
}
