#include "tests/faults/RecordedHeadLine.h"

#include "sim/HeadModel.h"

#include <QFile>

#include <chrono>

RecordedHeadLine::RecordedHeadLine(HeadModel& head) : head_(head), link_(folder_.filePath(QStringLiteral("ttyHead")))
{
    plugIn();
}

RecordedHeadLine::~RecordedHeadLine()
{
    pull();
}

void RecordedHeadLine::plugIn()
{
    pull();
    device_ = std::make_unique<PseudoTerminal>();
    QFile::remove(link_);
    QFile::link(device_->devicePath(), link_);
    size_t index = 0;
    {
        const std::lock_guard lock(mutex_);
        index = received_.size();
        received_.emplace_back();
    }
    stopping_ = false;
    reader_ = std::thread([this, index] { readLoop(*device_, index); });
}

void RecordedHeadLine::pull()
{
    stopping_ = true;
    if (reader_.joinable())
        reader_.join();
    device_.reset();
}

std::vector<std::string> RecordedHeadLine::received() const
{
    const std::lock_guard lock(mutex_);
    return received_;
}

void RecordedHeadLine::readLoop(PseudoTerminal& device, size_t index)
{
    while (!stopping_) {
        const std::string bytes = device.read(64, std::chrono::milliseconds(20));
        for (const char byte : bytes)
            head_.receive(byte);
        const std::lock_guard lock(mutex_);
        received_[index] += bytes;
    }
}
