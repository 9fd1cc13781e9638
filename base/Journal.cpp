#include "base/Journal.h"

#include <cerrno>
#include <condition_variable>
#include <csignal>
#include <ctime>
#include <filesystem>
#include <mutex>
#include <system_error>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct Event {
    std::chrono::system_clock::time_point when;
    std::string text;
};

// The file as the writer thread sees it. It is opened for each batch of lines, so that a
// journal moved away or deleted by hand starts afresh, and a disk that refused lines is tried
// again with the next ones.
class JournalFile {
public:
    JournalFile(std::string path, int64_t limitBytes) : path_(std::move(path)), limitBytes_(limitBytes) {}

    // The batch in order, then the note of `dropped` lines the queue could not take after it.
    void write(const std::vector<Event>& batch, int64_t dropped)
    {
        open();
        for (const Event& event : batch) {
            noteLoss();
            if (!put(Journal::timeStamp(event.when) + ' ' + oneLine(event.text)))
                ++lost_;
        }
        lost_ += dropped;
        noteLoss();
        close();
    }

private:
    static std::string oneLine(std::string text)
    {
        for (char& c : text) {
            if (c == '\n' || c == '\r')
                c = ' ';
        }
        return text + '\n';
    }

    void noteLoss()
    {
        if (lost_ == 0)
            return;
        const std::string note = Journal::timeStamp(std::chrono::system_clock::now()) + ' ' + std::to_string(lost_)
                                 + " journal lines lost: the disk was full or too slow\n";
        if (put(note))
            lost_ = 0;
    }

    void open()
    {
        constexpr int kFlags = O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC;
        fd_ = ::open(path_.c_str(), kFlags, 0644);
        if (fd_ < 0 && errno == ENOENT && makeFolders())
            fd_ = ::open(path_.c_str(), kFlags, 0644);
        struct stat file {};
        size_ = fd_ >= 0 && ::fstat(fd_, &file) == 0 && S_ISREG(file.st_mode) ? file.st_size : 0;
    }

    // The folders the state folder lacks, private, as the desktop's rules ask.
    bool makeFolders() const
    {
        std::filesystem::path folder;
        for (const std::filesystem::path& part : std::filesystem::path(path_).parent_path()) {
            folder /= part;
            if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
                return false;
        }
        return true;
    }

    void close()
    {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = -1;
    }

    bool put(const std::string& line)
    {
        const auto length = static_cast<int64_t>(line.size());
        if (size_ > 0 && size_ + length > limitBytes_) {
            close();
            ::rename(path_.c_str(), (path_ + ".1").c_str());
            open();
        }
        if (fd_ < 0)
            return false;
        ssize_t written = -1;
        do {
            written = ::write(fd_, line.data(), line.size());
        } while (written < 0 && errno == EINTR);
        if (written != static_cast<ssize_t>(line.size())) {
            // A line cut short by a full disk: the next batch opens the file again.
            close();
            return false;
        }
        size_ += length;
        return true;
    }

    const std::string path_;
    const int64_t limitBytes_;
    int fd_ = -1;
    int64_t size_ = 0; // of the open file, when it is a regular one
    int64_t lost_ = 0; // lines the disk refused, not noted yet
};

} // namespace

struct Journal::Queue {
    std::string path;
    int64_t limitBytes;
    size_t capacity;
    std::mutex mutex;
    std::condition_variable wake; // lines queued, or the end
    std::condition_variable done; // the writer has written its last batch
    std::vector<Event> events;
    int64_t dropped = 0;
    bool ending = false;
    bool finished = false;
};

Journal::Journal(std::string path, int64_t limitBytes, size_t queueLines) : queue_(std::make_shared<Queue>())
{
    queue_->path = std::move(path);
    queue_->limitBytes = limitBytes;
    queue_->capacity = queueLines;
    try {
        writer_ = std::thread([queue = queue_] { writeLines(*queue); });
    } catch (const std::system_error&) {
        // Without a writer the lines are lost; the program goes on as ever.
        queue_->finished = true;
    }
}

Journal::~Journal()
{
    std::unique_lock lock(queue_->mutex);
    queue_->ending = true;
    queue_->wake.notify_one();
    const bool finished = queue_->done.wait_for(lock, kFinalWriteWait, [this] { return queue_->finished; });
    lock.unlock();
    if (!writer_.joinable())
        return;
    // A writer stuck in a disk that hangs holds nothing but the queue it shares.
    if (finished)
        writer_.join();
    else
        writer_.detach();
}

void Journal::add(std::string event)
{
    const auto now = std::chrono::system_clock::now();
    {
        const std::lock_guard lock(queue_->mutex);
        if (queue_->events.size() >= queue_->capacity) {
            ++queue_->dropped;
            return;
        }
        queue_->events.push_back(Event{now, std::move(event)});
    }
    queue_->wake.notify_one();
}

std::string Journal::timeStamp(std::chrono::system_clock::time_point when)
{
    const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
    std::tm local{};
    ::localtime_r(&seconds, &local);
    char text[40];
    const size_t length = std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S%z", &local);
    std::string stamp(text, length);
    // ISO 8601's extended form writes the offset +01:00, not +0100.
    if (stamp.size() >= 5)
        stamp.insert(stamp.size() - 2, 1, ':');
    return stamp;
}

void Journal::writeLines(Queue& queue)
{
    // A journal that leads into a pipe nobody reads any more fails its writes instead of ending
    // the process.
    sigset_t pipe;
    sigemptyset(&pipe);
    sigaddset(&pipe, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipe, nullptr);

    JournalFile file(queue.path, queue.limitBytes);
    std::vector<Event> batch;
    bool ending = false;
    while (!ending) {
        int64_t dropped = 0;
        {
            std::unique_lock lock(queue.mutex);
            queue.wake.wait(lock, [&] { return !queue.events.empty() || queue.dropped > 0 || queue.ending; });
            batch.swap(queue.events);
            dropped = std::exchange(queue.dropped, 0);
            ending = queue.ending;
        }
        if (!batch.empty() || dropped > 0)
            file.write(batch, dropped);
        batch.clear();
    }
    const std::lock_guard lock(queue.mutex);
    queue.finished = true;
    queue.done.notify_all();
}
