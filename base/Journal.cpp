#include "base/Journal.h"

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <csignal>
#include <ctime>
#include <filesystem>
#include <mutex>
#include <system_error>
#include <tuple>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <pthread.h>
#include <sys/file.h>
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
    JournalFile(std::string path, int64_t limitBytes, const JournalWriter& writer)
        : path_(std::move(path)), limitBytes_(limitBytes), tag_(writer.name + '[' + std::to_string(::getpid()) + "]: "),
          started_(writer.started), running_(writer.running)
    {}

    // The batch in order, then the note of `dropped` lines the queue could not take after it. An
    // empty batch writes what a file must begin with: at the start, the start line.
    void write(const std::vector<Event>& batch, int64_t dropped)
    {
        open();
        for (const Event& event : batch) {
            if (!writeLine(event.when, oneLine(event.text)))
                lose(error_);
        }
        if (dropped > 0) {
            lost_ += dropped;
            addCause("the disk was too slow");
        }
        writeLead(0);
        close();
    }

private:
    static std::string oneLine(std::string text)
    {
        for (char& c : text) {
            if (c == '\n' || c == '\r')
                c = ' ';
        }
        return text;
    }

    std::string stamped(std::chrono::system_clock::time_point when, const std::string& text) const
    {
        return Journal::timeStamp(when) + ' ' + tag_ + text + '\n';
    }

    void lose(int error)
    {
        ++lost_;
        addCause(std::generic_category().message(error));
    }

    void addCause(const std::string& cause)
    {
        if (std::find(causes_.begin(), causes_.end(), cause) == causes_.end())
            causes_.push_back(cause);
        // After a gap the next line that gets through says again who writes.
        leadNeeded_ = true;
    }

    // What must stand before the next line: the file's first line, the note of lines lost.
    std::pair<std::string, std::string> lead() const
    {
        const auto now = std::chrono::system_clock::now();
        std::string first;
        if (leadNeeded_)
            first = startWritten_ ? stamped(now, running_) : stamped(startedAt_, started_);
        std::string note;
        if (lost_ > 0) {
            note = std::to_string(lost_) + " journal lines lost: ";
            for (size_t i = 0; i < causes_.size(); ++i)
                note += (i > 0 ? ", " : "") + causes_[i];
            note = stamped(now, note);
        }
        return {first, note};
    }

    // Writes the lead, in a file with room for it and `following` bytes. False when it could not be
    // written; the start line is then kept for the next try.
    bool writeLead(size_t following)
    {
        auto [first, note] = lead();
        if (makeRoom(first.size() + note.size() + following))
            std::tie(first, note) = lead();
        if (!first.empty()) {
            if (!put(first))
                return false;
            leadNeeded_ = false;
            startWritten_ = true;
        }
        if (!note.empty()) {
            if (!put(note))
                return false;
            lost_ = 0;
            causes_.clear();
        }
        return true;
    }

    bool writeLine(std::chrono::system_clock::time_point when, const std::string& text)
    {
        const std::string line = stamped(when, text);
        return writeLead(line.size()) && put(line);
    }

    void open()
    {
        constexpr int kFlags = O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC;
        fd_ = ::open(path_.c_str(), kFlags, 0644);
        if (fd_ < 0 && errno == ENOENT && makeFolders())
            fd_ = ::open(path_.c_str(), kFlags, 0644);
        if (fd_ < 0) {
            error_ = errno;
            return;
        }
        // Other Pantiros append to the same file: a line cut short is taken back before they write.
        ::flock(fd_, LOCK_EX);
        struct stat file {};
        const bool known = ::fstat(fd_, &file) == 0;
        size_ = known && S_ISREG(file.st_mode) ? file.st_size : 0;
        const std::pair<dev_t, ino_t> identity{file.st_dev, file.st_ino};
        if (!known || identity != identity_)
            leadNeeded_ = true;
        identity_ = identity;
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

    // A file that `length` more bytes would take past the limit moves aside first. True when it
    // did, and a new file is open.
    bool makeRoom(size_t length)
    {
        if (fd_ < 0 || size_ == 0 || size_ + static_cast<int64_t>(length) <= limitBytes_)
            return false;
        close();
        ::rename(path_.c_str(), (path_ + ".1").c_str());
        open();
        return true;
    }

    // The line whole, or nothing of it: a part the disk took is taken back, so that it never runs
    // into the next line.
    bool put(const std::string& line)
    {
        if (fd_ < 0)
            return false;
        size_t written = 0;
        while (written < line.size()) {
            const ssize_t part = ::write(fd_, line.data() + written, line.size() - written);
            if (part > 0) {
                written += static_cast<size_t>(part);
            } else if (part == 0 || errno != EINTR) {
                error_ = part == 0 ? ENOSPC : errno;
                if (written > 0 && ::ftruncate(fd_, size_) != 0) {
                    // No regular file (a pipe): what it took is gone already.
                }
                // The next batch opens the file again.
                close();
                return false;
            }
        }
        size_ += static_cast<int64_t>(written);
        return true;
    }

    const std::string path_;
    const int64_t limitBytes_;
    const std::string tag_;
    const std::string started_;
    const std::string running_;
    const std::chrono::system_clock::time_point startedAt_ = std::chrono::system_clock::now();
    int fd_ = -1;
    int64_t size_ = 0; // of the open file, when it is a regular one
    int error_ = 0;    // of the last open or write that failed
    std::pair<dev_t, ino_t> identity_{};
    bool leadNeeded_ = true;
    bool startWritten_ = false;
    int64_t lost_ = 0; // lines not written, not noted yet
    std::vector<std::string> causes_;
};

} // namespace

struct Journal::Queue {
    std::string path;
    JournalWriter writer;
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

Journal::Journal(std::string path, JournalWriter writer, int64_t limitBytes, size_t queueLines)
    : queue_(std::make_shared<Queue>())
{
    queue_->path = std::move(path);
    queue_->writer = std::move(writer);
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

    JournalFile file(queue.path, queue.limitBytes, queue.writer);
    // The start line goes at once, not with the first event.
    file.write({}, 0);
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
