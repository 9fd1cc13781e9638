#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>

// An append-only text file of events, one line each behind its local time stamp (ISO 8601, with
// the offset, so that a night across a clock change still reads in order). A thread of its own
// writes the lines, so that a slow or full disk never costs the caller time: lines wait in a
// bounded queue, and those the queue or the disk cannot take are lost and counted, and a later
// line says how many. At the size limit the file moves to "<path>.1", replacing the older one.
class Journal {
public:
    static constexpr int64_t kDefaultLimitBytes = 1024 * 1024;
    static constexpr size_t kDefaultQueueLines = 1000;
    // How long the end waits for a disk that hangs before it leaves the writer to the process end.
    static constexpr std::chrono::milliseconds kFinalWriteWait{2000};

    explicit Journal(std::string path, int64_t limitBytes = kDefaultLimitBytes, size_t queueLines = kDefaultQueueLines);
    // Writes what is queued first, waiting at most kFinalWriteWait.
    ~Journal();
    Journal(const Journal&) = delete;
    Journal& operator=(const Journal&) = delete;

    // Queues one event stamped with the time now; never waits for the disk.
    void add(std::string event);

    // "2026-12-07T21:14:03+01:00": the local time with its offset from UTC.
    static std::string timeStamp(std::chrono::system_clock::time_point when);

private:
    struct Queue;
    static void writeLines(Queue& queue);

    std::shared_ptr<Queue> queue_; // shared with the writer, which may outlive a stuck end
    std::thread writer_;
};
