#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

// A program started with its own arguments, environment and working directory, ended with
// SIGTERM.
class ChildProcess {
public:
    // With outputFd >= 0 the program's standard output goes there.
    ChildProcess(const std::string& program, const std::vector<std::string>& arguments,
                 const std::vector<std::string>& environment, const std::string& workingDirectory, int outputFd = -1);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t pid() const { return pid_; }
    bool running() const;
    // User plus system CPU time so far, in seconds.
    double cpuSeconds() const;
    // Resident set size, in MiB.
    double residentMiB() const;
    // Threads of the program now.
    int threadCount() const;
    void stop();

private:
    double statusField(const std::string& key) const;

    pid_t pid_ = -1;
};
