#pragma once

#include "tests/support/PseudoTerminal.h"

#include <QString>
#include <QTemporaryDir>

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class HeadModel;

// The head's serial line as a USB adapter behind a link that stays (short: the port name has
// room for 50 characters): a pseudo-terminal whose bytes
// go to the simulated head and are kept, per device plugged in, for the test to compare.
class RecordedHeadLine {
public:
    explicit RecordedHeadLine(HeadModel& head);
    ~RecordedHeadLine();
    RecordedHeadLine(const RecordedHeadLine&) = delete;
    RecordedHeadLine& operator=(const RecordedHeadLine&) = delete;

    QString link() const { return link_; }
    // A new device behind the link; what it receives is kept apart from the earlier ones.
    void plugIn();
    void pull();
    // The bytes each device received, in the order they were plugged in.
    std::vector<std::string> received() const;

private:
    void readLoop(PseudoTerminal& device, size_t index);

    HeadModel& head_;
    QTemporaryDir folder_;
    QString link_;
    std::unique_ptr<PseudoTerminal> device_;
    std::thread reader_;
    std::atomic<bool> stopping_{false};
    mutable std::mutex mutex_;
    std::vector<std::string> received_;
};
