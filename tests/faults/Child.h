#pragma once
// A helper program started by a test, its standard input and output on pipes: the test reads
// its report lines as they come (blocking, so it waits for the event and never for a time),
// can end its input, and kill it.

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

extern char** environ;

namespace velmora::faults {

class Child {
public:
    explicit Child(const std::vector<std::string>& arguments) {
        int out[2] = {-1, -1};
        int in[2] = {-1, -1};
        if (::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(in, O_CLOEXEC) != 0) {
            return;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, in[0], STDIN_FILENO);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        std::vector<char*> argv;
        for (const std::string& argument : arguments) {
            argv.push_back(const_cast<char*>(argument.c_str()));
        }
        argv.push_back(nullptr);
        if (posix_spawn(&m_pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
            m_pid = -1;
        }
        posix_spawn_file_actions_destroy(&actions);
        ::close(out[1]);
        ::close(in[0]);
        m_out = out[0];
        m_in = in[1];
    }
    ~Child() {
        Kill();
        Wait();
        CloseInput();
        if (m_out >= 0) {
            ::close(m_out);
        }
    }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    bool Started() const { return m_pid > 0; }

    // The next report line without its LF; nothing once the child has gone.
    bool ReadLine(std::string& line) {
        line.clear();
        for (;;) {
            if (const size_t lf = m_pending.find('\n'); lf != std::string::npos) {
                line = m_pending.substr(0, lf);
                m_pending.erase(0, lf + 1);
                return true;
            }
            char buffer[4096];
            const ssize_t got = ::read(m_out, buffer, sizeof buffer);
            if (got <= 0) {
                return false;
            }
            m_pending.append(buffer, static_cast<size_t>(got));
        }
    }

    void CloseInput() {
        if (m_in >= 0) {
            ::close(m_in);
            m_in = -1;
        }
    }

    void Kill() const {
        if (m_pid > 0) {
            ::kill(m_pid, SIGKILL);
        }
    }

    // Waits for the child to end: its exit code, 128 + the signal that ended it, or -1.
    int Wait() {
        if (m_pid <= 0) {
            return -1;
        }
        int status = 0;
        const pid_t pid = m_pid;
        m_pid = -1;
        if (::waitpid(pid, &status, 0) != pid) {
            return -1;
        }
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }

private:
    pid_t m_pid = -1;
    int m_out = -1;
    int m_in = -1;
    std::string m_pending;
};

}  // namespace velmora::faults
