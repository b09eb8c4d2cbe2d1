#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include <sys/types.h>

// A child process for tests that signal or kill it: started with its standard output on a
// pipe, killed and reaped when it goes if it still runs. POSIX only.
class ChildProcess {
public:
    ChildProcess(const std::string& program, const std::vector<std::string>& arguments);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool started() const { return m_pid > 0; }
    pid_t pid() const { return m_pid; }

    // The next line the child printed, without its LF; empty when none came within `timeout`
    // or the child closed its output.
    std::string ReadLine(std::chrono::milliseconds timeout);
    void Signal(int signal);
    // The status waitpid gives once the child has ended, or none if it did not end in time.
    std::optional<int> Wait(std::chrono::milliseconds timeout);

private:
    pid_t m_pid = -1;
    int m_output = -1;
    std::string m_buffer;
    bool m_reaped = false;
};
