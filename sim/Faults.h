#pragma once

#include "sim/PictureFault.h"

#include <QString>

#include <map>
#include <mutex>
#include <string>

// The camera's misbehaviour on demand, changed from the command line or at run time.
// Status and delay apply to every camera request, the picture fault to pictures only.
class Faults {
public:
    struct Settings {
        int delayMs = 0; // before each camera answer
        int status = 0;  // answer every camera request with this status; 0: behave
        PictureFault picture = PictureFault::None;
        qsizetype oversizedBytes = 600000;
    };

    static constexpr int kLongestDelayMs = 60000;
    static constexpr qsizetype kLargestOversizedBytes = 64 * 1024 * 1024;

    Faults() = default;
    explicit Faults(const Settings& initial) : settings_(initial) {}

    Settings current() const;

    // Keys "delay", "status", "picture", "bytes" change those settings, "clear" first resets
    // all. Returns an error text and changes nothing when a value is invalid or a key unknown.
    QString update(const std::multimap<std::string, std::string>& changes);

private:
    mutable std::mutex mutex_;
    Settings settings_;
};
