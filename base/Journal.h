#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>

// Who writes a journal. Several programs may share one file, so every line names its writer as
// system logs do ("pantiro[4711]: ..."), and every file the journal writes to begins with what the
// writer runs: `started`, stamped with the start and kept until a file takes it, or `running` in
// the files that follow (after a move to "<path>.1", a file deleted by hand, lines lost).
struct JournalWriter {
    std::string name;
    std::string started;
    std::string running;
};

// An append-only text file of events, one line each behind its local time stamp (ISO 8601, with
// the offset, so that a night across a clock change still reads in order). A thread of its own
// writes the lines, so that a slow or full disk never costs the caller time: lines wait in a
// bounded queue, and those the queue or the disk cannot take are lost and counted, and a later
// line says how many and why. A line is written whole or not at all. At the size limit the file
// moves to "<path>.1", replacing the older one.
class Journal {
public:
    static constexpr int64_t kDefaultLimitBytes = 1024 * 1024;
    static constexpr size_t kDefaultQueueLines = 1000;
    // How long the end waits for a disk that hangs before it leaves the writer to the process end.
    static constexpr std::chrono::milliseconds kFinalWriteWait{2000};

    Journal(std::string path, JournalWriter writer, int64_t limitBytes = kDefaultLimitBytes,
            size_t queueLines = kDefaultQueueLines);
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
