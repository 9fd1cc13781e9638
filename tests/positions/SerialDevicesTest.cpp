#include "positions/SerialDevices.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace {

// A folder laid out like /dev: kernel devices as plain files, stable names as relative links.
class FakeDevices {
public:
    void device(const QString& name) { QFile(root(name)).open(QIODevice::WriteOnly); }
    void stableName(const QString& name, const QString& kernelName)
    {
        QDir().mkpath(root(u"serial/by-id"_s));
        QFile::link(u"../../"_s + kernelName, root(u"serial/by-id/"_s + name));
    }
    QString root(const QString& name = {}) const { return name.isEmpty() ? dir_.path() : dir_.filePath(name); }

private:
    QTemporaryDir dir_;
};

} // namespace

TEST(SerialDevices, StableNamesComeFirstAndStandForTheirKernelDevices)
{
    FakeDevices dev;
    for (const QString& name :
         {u"ttyUSB0"_s, u"ttyUSB1"_s, u"ttyUSB2"_s, u"ttyUSB10"_s, u"ttyACM0"_s, u"ttyS0"_s, u"ttyprintk"_s})
        dev.device(name);
    ASSERT_LE(dev.root(u"serial/by-id/u-A1"_s).size(), 50) << "the fake folder's path must leave room";
    dev.stableName(u"u-A1"_s, u"ttyUSB2"_s);
    // Too long to be kept whole as a port name: its kernel name stands in.
    dev.stableName(u"usb-Prolific_Technology_Inc._USB-Serial_Controller-if00-port0"_s, u"ttyUSB1"_s);
    dev.stableName(u"usb-Odd,Name-if00"_s, u"ttyUSB0"_s);

    EXPECT_EQ(SerialDevicePaths(dev.root()), (QStringList{
                                                 dev.root(u"serial/by-id/u-A1"_s),
                                                 dev.root(u"ttyUSB0"_s),
                                                 dev.root(u"ttyUSB1"_s),
                                                 dev.root(u"ttyUSB10"_s),
                                                 dev.root(u"ttyACM0"_s),
                                             }));
    for (const QString& path : SerialDevicePaths(dev.root()))
        EXPECT_LE(path.size(), 50) << path.toStdString();

    EXPECT_TRUE(SerialDevicePaths(dev.root(u"missing"_s)).isEmpty());
}

TEST(SerialDevices, TheListKeepsAStoredAdapterThatIsUnpluggedButNoOtherStoredName)
{
    const QStringList com{u"COM1"_s, u"COM2"_s, u"COM3"_s, u"COM4"_s, u"COM5"_s,
                          u"COM6"_s, u"COM7"_s, u"COM8"_s, u"COM9"_s};
    const QStringList plugged{u"/dev/ttyUSB0"_s};
    struct Case {
        QString stored;
        QStringList tail;
    } const cases[] = {
        {u"/dev/ttyUSB3"_s, {u"/dev/ttyUSB0"_s, u"/dev/ttyUSB3"_s}},
        {u"/dev/ttyUSB0"_s, {u"/dev/ttyUSB0"_s}},
        {u"/DEV/TTYUSB0"_s, {u"/dev/ttyUSB0"_s}},
        {u"COM12"_s, {u"/dev/ttyUSB0"_s}},
        {u"None"_s, {u"/dev/ttyUSB0"_s}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SetupPortEntries(u"Kein"_s, plugged, c.stored), QStringList{u"Kein"_s} + com + c.tail)
            << c.stored.toStdString();
}
