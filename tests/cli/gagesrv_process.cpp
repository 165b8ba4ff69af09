#include "gagesrv_process.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <utility>

namespace gage::cli_test {

namespace {

// An open file descriptor, closed with the object.
struct Fd {
    int fd = -1;
    ~Fd() {
        if (fd >= 0) {
            ::close(fd);
        }
    }
};

// What is left to read from fd, up to its end.
void ReadRest(int fd, std::string& text) {
    char buffer[4096];
    for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;) {
        text.append(buffer, static_cast<std::size_t>(n));
    }
}

}  // namespace

ProcessResult RunProcess(const std::vector<std::string>& args, const std::string& input,
                         const TerminalUse& terminal, const char* program) {
    ProcessResult result;
    // Input and standard error go through files; standard output through a pipe, watched as it
    // comes for the text that makes the user press Ctrl-C.
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> in(std::tmpfile(), std::fclose);
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> err(std::tmpfile(), std::fclose);
    int pipeEnds[2] = {-1, -1};
    Fd master;
    Fd slave;
    if (!in || !err || ::pipe2(pipeEnds, O_CLOEXEC) != 0 ||
        (terminal.stderrOnTerminal &&
         ::openpty(&master.fd, &slave.fd, nullptr, nullptr, nullptr) != 0)) {
        return result;
    }
    const Fd outRead{pipeEnds[0]};
    Fd outWrite{pipeEnds[1]};
    std::fwrite(input.data(), 1, input.size(), in.get());
    std::fflush(in.get());
    ::lseek(fileno(in.get()), 0, SEEK_SET);
    std::vector<std::string> argvText{program};
    argvText.insert(argvText.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& text : argvText) {
        argv.push_back(text.data());
    }
    argv.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(fileno(in.get()), STDIN_FILENO);
        ::dup2(outWrite.fd, STDOUT_FILENO);
        ::dup2(terminal.stderrOnTerminal ? slave.fd : fileno(err.get()), STDERR_FILENO);
        ::execv(program, argv.data());
        _exit(127);
    }
    ::close(std::exchange(outWrite.fd, -1));
    ::close(std::exchange(slave.fd, -1));
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(90);
    for (bool interrupted = false; pid > 0;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd ready{outRead.fd, POLLIN, 0};
        if (left.count() <= 0) {
            ::kill(pid, SIGKILL);
            break;
        }
        char buffer[4096];
        const ssize_t n = ::poll(&ready, 1, static_cast<int>(left.count())) > 0
                              ? ::read(outRead.fd, buffer, sizeof buffer)
                              : 1;
        if (n <= 0) {
            break;  // the program closed its standard output: it has ended
        }
        result.out.append(buffer, ready.revents != 0 ? static_cast<std::size_t>(n) : 0);
        if (!interrupted && !terminal.interruptOn.empty() &&
            result.out.find(terminal.interruptOn) != std::string::npos) {
            interrupted = ::kill(pid, SIGINT) == 0;
        }
    }
    int status = 0;
    if (pid > 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status)) {
        result.exitStatus = WEXITSTATUS(status);
    }
    // A terminal's master reports EIO once the program, its last user, has gone.
    ::lseek(fileno(err.get()), 0, SEEK_SET);
    ReadRest(terminal.stderrOnTerminal ? master.fd : fileno(err.get()), result.err);
    return result;
}

}  // namespace gage::cli_test
