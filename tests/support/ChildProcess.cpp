#include "ChildProcess.h"

#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

ChildProcess::ChildProcess(const std::string& program, const std::vector<std::string>& arguments)
{
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0)
        return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    pid_t pid = -1;
    if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ) == 0)
        m_pid = pid;
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeEnds[1]);
    m_output = pipeEnds[0];
}

ChildProcess::~ChildProcess()
{
    if (m_pid > 0 && !m_reaped) {
        ::kill(m_pid, SIGKILL);
        ::waitpid(m_pid, nullptr, 0);
    }
    if (m_output >= 0)
        ::close(m_output);
}

std::string ChildProcess::ReadLine(std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (const size_t lf = m_buffer.find('\n'); lf != std::string::npos) {
            std::string line = m_buffer.substr(0, lf);
            m_buffer.erase(0, lf + 1);
            return line;
        }
        const auto left
            = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return {};
        pollfd ready{m_output, POLLIN, 0};
        if (::poll(&ready, 1, static_cast<int>(left.count())) <= 0)
            return {};
        char bytes[256];
        const ssize_t got = ::read(m_output, bytes, sizeof bytes);
        if (got <= 0)
            return {};
        m_buffer.append(bytes, static_cast<size_t>(got));
    }
}

void ChildProcess::Signal(int signal)
{
    if (m_pid > 0 && !m_reaped)
        ::kill(m_pid, signal);
}

std::optional<int> ChildProcess::Wait(std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (m_pid > 0 && !m_reaped) {
        int status = 0;
        const pid_t done = ::waitpid(m_pid, &status, WNOHANG);
        if (done == m_pid) {
            m_reaped = true;
            return status;
        }
        if (done < 0 || std::chrono::steady_clock::now() >= deadline)
            return std::nullopt;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return std::nullopt;
}
