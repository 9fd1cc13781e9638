#include "motion/SerialLineSnapshot.h"

#include <fcntl.h>
#include <unistd.h>

SerialLineSnapshot::SerialLineSnapshot(const QString& devicePath)
{
    fd_ = ::open(devicePath.toLocal8Bit().constData(), O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    valid_ = fd_ >= 0 && ::tcgetattr(fd_, &settings_) == 0;
}

SerialLineSnapshot::~SerialLineSnapshot()
{
    if (fd_ >= 0)
        ::close(fd_);
}
