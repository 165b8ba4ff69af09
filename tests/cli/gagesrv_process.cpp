#include "gagesrv_process.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <system_error>

namespace gage::cli_test {

namespace {

class Pipe {
  public:
    Pipe() {
        if (::pipe2(fds_.data(), O_CLOEXEC) != 0) {
            fds_ = {-1, -1};
        }
    }
    ~Pipe() {
        CloseRead();
        CloseWrite();
    }
    Pipe(const Pipe&) = delete;
    Pipe& operator=(const Pipe&) = delete;
    bool ok() const { return fds_[0] >= 0; }
    int read() const { return fds_[0]; }
    int write() const { return fds_[1]; }
    void CloseRead() { Close(fds_[0]); }
    void CloseWrite() { Close(fds_[1]); }

  private:
    static void Close(int& fd) {
        if (fd >= 0) {
            ::close(fd);
            fd = -1;
        }
    }
    std::array<int, 2> fds_{};
};

}  // namespace

ProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                         const std::string& input, std::chrono::milliseconds timeout,
                         const TerminalUse& terminal) {
    ProcessResult result;
    // A child that exits without reading its input must not take the test down with it.
    ::signal(SIGPIPE, SIG_IGN);
    Pipe in;
    Pipe out;
    Pipe err;
    if (!in.ok() || !out.ok() || !err.ok()) {
        result.err = "pipe failed";
        return result;
    }
    // A terminal for standard error: what is written to its slave side is read from the master
    // in place of the error pipe.
    int terminalMaster = -1;
    int terminalSlave = -1;
    if (terminal.stderrOnTerminal) {
        if (::openpty(&terminalMaster, &terminalSlave, nullptr, nullptr, nullptr) != 0) {
            result.err = "openpty failed";
            return result;
        }
        ::fcntl(terminalMaster, F_SETFD, FD_CLOEXEC);
        ::fcntl(terminalSlave, F_SETFD, FD_CLOEXEC);
    }
    std::vector<std::string> argvText{program};
    argvText.insert(argvText.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& text : argvText) {
        argv.push_back(text.data());
    }
    argv.push_back(nullptr);

    const pid_t pid = ::fork();
    if (pid < 0) {
        result.err = "fork failed";
        return result;
    }
    if (pid == 0) {
        ::dup2(in.read(), STDIN_FILENO);
        ::dup2(out.write(), STDOUT_FILENO);
        ::dup2(terminal.stderrOnTerminal ? terminalSlave : err.write(), STDERR_FILENO);
        ::execv(program.c_str(), argv.data());
        _exit(127);
    }
    in.CloseRead();
    out.CloseWrite();
    err.CloseWrite();
    if (terminal.stderrOnTerminal) {
        ::close(terminalSlave);
    }
    const int errorSource = terminal.stderrOnTerminal ? terminalMaster : err.read();
    ::fcntl(in.write(), F_SETFL, O_NONBLOCK);
    std::size_t inputSent = 0;
    if (input.empty()) {
        in.CloseWrite();
    }

    const auto deadline = std::chrono::steady_clock::now() + timeout;
    bool interrupted = false;
    bool outOpen = true;
    bool errOpen = true;
    while (outOpen || errOpen) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            ::kill(pid, SIGKILL);
            result.timedOut = true;
            break;
        }
        std::array<pollfd, 3> fds{{{out.read(), POLLIN, 0},
                                   {errOpen ? errorSource : -1, POLLIN, 0},
                                   {in.write(), POLLOUT, 0}}};
        const nfds_t count = in.write() >= 0 ? 3 : 2;
        if (::poll(fds.data(), count, static_cast<int>(left.count())) < 0) {
            continue;
        }
        char buffer[4096];
        if (fds[0].revents != 0) {
            const ssize_t n = ::read(out.read(), buffer, sizeof buffer);
            if (n > 0) {
                result.out.append(buffer, static_cast<std::size_t>(n));
                if (!interrupted && !terminal.interruptOn.empty() &&
                    result.out.find(terminal.interruptOn) != std::string::npos) {
                    ::kill(pid, SIGINT);
                    interrupted = true;
                }
            } else {
                outOpen = false;
                out.CloseRead();
            }
        }
        if (fds[1].revents != 0) {
            // A terminal's master reports EIO once the last slave holder has gone.
            const ssize_t n = ::read(errorSource, buffer, sizeof buffer);
            if (n > 0) {
                result.err.append(buffer, static_cast<std::size_t>(n));
            } else {
                errOpen = false;
            }
        }
        if (count == 3 && fds[2].revents != 0) {
            const ssize_t n =
                (fds[2].revents & POLLOUT) != 0
                    ? ::write(in.write(), input.data() + inputSent, input.size() - inputSent)
                    : -1;
            if (n > 0) {
                inputSent += static_cast<std::size_t>(n);
            }
            if (n < 0 || inputSent == input.size()) {
                in.CloseWrite();
            }
        }
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (terminalMaster >= 0) {
        ::close(terminalMaster);
    }
    result.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

ProcessResult RunGagesrv(const std::filesystem::path& configDir,
                         const std::vector<std::string>& args, const std::string& input,
                         std::chrono::milliseconds timeout, const TerminalUse& terminal) {
    std::vector<std::string> all{"--shared-dir", configDir.string(), "--local-dir",
                                 configDir.string()};
    all.insert(all.end(), args.begin(), args.end());
    return RunProcess(GAGESRV_PROGRAM, all, input, timeout, terminal);
}

}  // namespace gage::cli_test
