#include "bench/startup/ChildProcess.h"

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include <sys/wait.h>
#include <unistd.h>

namespace {

// execve() wants mutable C strings.
std::vector<char*> cStrings(const std::vector<std::string>& texts)
{
    std::vector<char*> pointers;
    for (const std::string& text : texts)
        pointers.push_back(const_cast<char*>(text.c_str()));
    pointers.push_back(nullptr);
    return pointers;
}

} // namespace

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& arguments,
                           const std::vector<std::string>& environment, const std::string& workingDirectory,
                           int outputFd)
{
    std::vector<std::string> commandLine{program};
    commandLine.insert(commandLine.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv = cStrings(commandLine);
    std::vector<char*> envp = cStrings(environment);
    pid_ = fork();
    if (pid_ == 0) {
        if (outputFd >= 0)
            dup2(outputFd, STDOUT_FILENO);
        if (chdir(workingDirectory.c_str()) != 0)
            _exit(127);
        execve(program.c_str(), argv.data(), envp.data());
        _exit(127);
    }
}

ChildProcess::~ChildProcess()
{
    stop();
}

bool ChildProcess::running() const
{
    return pid_ > 0 && waitpid(pid_, nullptr, WNOHANG) == 0;
}

double ChildProcess::cpuSeconds() const
{
    std::ifstream stat("/proc/" + std::to_string(pid_) + "/stat");
    std::string line;
    std::getline(stat, line);
    // Fields after the command name, which ends with the last ')': state is field 3, utime 14, stime 15.
    std::istringstream fields(line.substr(line.rfind(')') + 2));
    std::string field;
    double ticks = 0;
    for (int index = 3; fields >> field && index <= 15; ++index)
        if (index >= 14)
            ticks += std::stod(field);
    return ticks / static_cast<double>(sysconf(_SC_CLK_TCK));
}

double ChildProcess::residentMiB() const
{
    return statusField("VmRSS:") / 1024.0;
}

int ChildProcess::threadCount() const
{
    return static_cast<int>(statusField("Threads:"));
}

// The number after `key` in the program's /proc status, 0 when there is none.
double ChildProcess::statusField(const std::string& key) const
{
    std::ifstream status("/proc/" + std::to_string(pid_) + "/status");
    std::string name;
    while (status >> name) {
        if (name == key) {
            double value = 0;
            status >> value;
            return value;
        }
        status.ignore(1 << 16, '\n');
    }
    return 0;
}

void ChildProcess::stop()
{
    if (pid_ <= 0)
        return;
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
}
