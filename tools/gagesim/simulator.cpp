#include "simulator.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <pty.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "burst_pattern.h"

namespace gagesim {
namespace {

using Clock = std::chrono::steady_clock;
constexpr std::size_t kReceivedKeep = 1 << 20;

void CloseFd(int& fd) {
    if (fd >= 0) {
        ::close(fd);
        fd = -1;
    }
}

void SetNonBlocking(int fd) {
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
}

// The termios speed of a baud rate; B0 for one it does not know.
speed_t SpeedOf(unsigned baud) {
    switch (baud) {
        case 1200:
            return B1200;
        case 2400:
            return B2400;
        case 4800:
            return B4800;
        case 9600:
            return B9600;
        case 19200:
            return B19200;
        case 38400:
            return B38400;
        case 57600:
            return B57600;
        case 115200:
            return B115200;
        default:
            return B0;
    }
}

}  // namespace

Simulator::Simulator(SimulatorOptions options)
    : options_(std::move(options)), walk_(options_.walkStart), random_(options_.seed) {
    if (options_.channels.empty()) {
        options_.channels.push_back(1);
    }
}

Simulator::~Simulator() {
    Stop();
}

bool Simulator::Start(std::string& error) {
    if (!ParseRecordTemplate(options_.recordTemplate, template_, error)) {
        return false;
    }
    if (::pipe2(wake_, O_CLOEXEC | O_NONBLOCK) != 0) {
        error = std::string("pipe: ") + std::strerror(errno);
        return false;
    }
    if (options_.transport == Transport::Pty) {
        std::array<char, 128> name{};
        if (::openpty(&master_, &slave_, name.data(), nullptr, nullptr) != 0) {
            error = std::string("openpty: ") + std::strerror(errno);
            return false;
        }
        termios raw{};
        ::tcgetattr(slave_, &raw);
        ::cfmakeraw(&raw);
        ::tcsetattr(slave_, TCSANOW, &raw);
        ::fcntl(master_, F_SETFD, FD_CLOEXEC);
        ::fcntl(slave_, F_SETFD, FD_CLOEXEC);
        SetNonBlocking(master_);
        devicePath_ = name.data();
        if (!options_.linkPath.empty()) {
            ::unlink(options_.linkPath.c_str());
            if (::symlink(devicePath_.c_str(), options_.linkPath.c_str()) != 0) {
                error = "symlink " + options_.linkPath + ": " + std::strerror(errno);
                return false;
            }
        }
    } else {
        listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        const int on = 1;
        ::setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(options_.port);
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (listener_ < 0 ||
            ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            ::listen(listener_, options_.backlog) != 0) {
            error = std::string("listen: ") + std::strerror(errno);
            return false;
        }
        socklen_t size = sizeof address;
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size);
        port_ = ntohs(address.sin_port);
        SetNonBlocking(listener_);
    }
    running_ = true;
    thread_ = std::thread([this] { Run(); });
    return true;
}

void Simulator::Stop() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    Wake();
    if (thread_.joinable()) {
        thread_.join();
    }
    const std::lock_guard lock(mutex_);
    running_ = false;
    if (!options_.linkPath.empty() && options_.transport == Transport::Pty) {
        ::unlink(options_.linkPath.c_str());
    }
    CloseFd(client_);
    CloseFd(listener_);
    CloseFd(master_);
    CloseFd(slave_);
    CloseFd(wake_[0]);
    CloseFd(wake_[1]);
}

std::string Simulator::DevicePath() const {
    const std::lock_guard lock(mutex_);
    return devicePath_;
}

std::uint16_t Simulator::Port() const {
    const std::lock_guard lock(mutex_);
    return port_;
}

void Simulator::Send(std::string bytes) {
    {
        const std::lock_guard lock(mutex_);
        outgoing_ += bytes;
    }
    Wake();
}

void Simulator::SendRecords(int count) {
    {
        const std::lock_guard lock(mutex_);
        QueueRecordsLocked(count);
    }
    Wake();
}

void Simulator::QueueReplies(std::vector<std::string> replies) {
    const std::lock_guard lock(mutex_);
    for (std::string& reply : replies) {
        replies_.push_back(std::move(reply));
    }
}

void Simulator::DropLine() {
    {
        const std::lock_guard lock(mutex_);
        DropLocked();
    }
    Wake();
}

int Simulator::CommandCount() const {
    const std::lock_guard lock(mutex_);
    return commands_;
}

std::string Simulator::Received() const {
    const std::lock_guard lock(mutex_);
    return received_;
}

std::size_t Simulator::BytesSent() const {
    const std::lock_guard lock(mutex_);
    return bytesSent_;
}

bool Simulator::LineDropped() const {
    const std::lock_guard lock(mutex_);
    return dropped_;
}

bool Simulator::WaitForCommands(int count, std::chrono::milliseconds timeout) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] { return commands_ >= count; });
}

bool Simulator::WaitForReceived(const std::string& text, std::chrono::milliseconds timeout) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout,
                             [&] { return received_.find(text) != std::string::npos; });
}

bool Simulator::WaitForClient(std::chrono::milliseconds timeout) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] { return client_ >= 0; });
}

void Simulator::Wake() {
    const char byte = 1;
    if (wake_[1] >= 0) {
        [[maybe_unused]] const auto ignored = ::write(wake_[1], &byte, 1);
    }
}

int Simulator::LineFd() const {
    return options_.transport == Transport::Pty ? master_ : client_;
}

std::string Simulator::NextRecordLocked(int channel) {
    double value = 0.0;
    if (!options_.values.empty()) {
        value = options_.values[valueIndex_ % options_.values.size()];
        ++valueIndex_;
    } else {
        std::uniform_real_distribution<double> step(-1.0, 1.0);
        value = walk_;
        walk_ += options_.walkStep * step(random_);
    }
    if (channel < 0) {
        channel = options_.channels[channelIndex_ % options_.channels.size()];
        ++channelIndex_;
    }
    std::string record = RenderRecord(template_, value, channel, ++recordCounts_[channel]);
    if (options_.partialBytes >= 0 &&
        record.size() > static_cast<std::size_t>(options_.partialBytes)) {
        record.resize(static_cast<std::size_t>(options_.partialBytes));
    }
    return record;
}

void Simulator::QueueRecordsLocked(int count, int channel) {
    for (int i = 0; i < count && !dropped_; ++i) {
        std::string noise;
        std::uniform_int_distribution<int> byte(0, 255);
        for (int k = 0; k < options_.noiseBytes; ++k) {
            noise += static_cast<char>(byte(random_));
        }
        outgoing_ += noise;
        std::string record;
        if (!replies_.empty()) {
            record = std::move(replies_.front());
            replies_.pop_front();
        } else {
            record = NextRecordLocked(channel);
        }
        if (options_.dropAfterBytes >= 0) {
            const long long left = options_.dropAfterBytes - recordBytesSent_;
            if (static_cast<long long>(record.size()) >= left) {
                record.resize(static_cast<std::size_t>(std::max(0LL, left)));
                outgoing_ += record;
                recordBytesSent_ += static_cast<long long>(record.size());
                FlushLocked();
                DropLocked();
                return;
            }
        }
        recordBytesSent_ += static_cast<long long>(record.size());
        outgoing_ += record;
    }
}

bool Simulator::TerminalMatchesLineLocked() const {
    termios t{};
    if (options_.lineBaud == 0 || slave_ < 0 || ::tcgetattr(slave_, &t) != 0) {
        return true;
    }
    // A pseudo-terminal keeps 8 data bits without parity whatever it is told, so of the
    // framing only the stop bits can differ.
    const bool twoStops = options_.lineFrame.size() > 2 && options_.lineFrame[2] == '2';
    return ::cfgetospeed(&t) == SpeedOf(options_.lineBaud) &&
           ((t.c_cflag & CSTOPB) != 0) == twoStops;
}

void Simulator::FlushLocked() {
    const int fd = LineFd();
    if (options_.transport == Transport::Pty && !TerminalMatchesLineLocked()) {
        std::uniform_int_distribution<int> byte(0, 255);
        for (char& c : outgoing_) {
            c = static_cast<char>(byte(random_));
        }
    }
    while (fd >= 0 && !outgoing_.empty()) {
        const ssize_t n = ::write(fd, outgoing_.data(), outgoing_.size());
        if (n <= 0) {
            break;
        }
        outgoing_.erase(0, static_cast<std::size_t>(n));
        bytesSent_ += static_cast<std::size_t>(n);
    }
    changed_.notify_all();
}

void Simulator::DropLocked() {
    dropped_ = true;
    outgoing_.clear();
    if (options_.transport == Transport::Pty) {
        CloseFd(master_);
        CloseFd(slave_);
        if (!options_.linkPath.empty()) {
            ::unlink(options_.linkPath.c_str());
        }
    } else {
        CloseFd(client_);
    }
    changed_.notify_all();
}

void Simulator::ReadFromLine() {
    std::array<char, 4096> buffer{};
    const int fd = LineFd();
    const ssize_t n = ::read(fd, buffer.data(), buffer.size());
    if (n <= 0) {
        if (n == 0 || (errno != EAGAIN && errno != EINTR)) {
            if (options_.transport == Transport::Tcp) {
                CloseFd(client_);  // the client went away; wait for the next one
            }
        }
        return;
    }
    received_.append(buffer.data(), static_cast<std::size_t>(n));
    if (received_.size() > kReceivedKeep) {
        const std::size_t cut = received_.size() - kReceivedKeep / 2;
        received_.erase(0, cut);
        matchFrom_ = matchFrom_ > cut ? matchFrom_ - cut : 0;
        burstMatchFrom_ = burstMatchFrom_ > cut ? burstMatchFrom_ - cut : 0;
    }
    if (!options_.burstTrigger.empty()) {
        std::size_t at = 0;
        while ((at = received_.find(options_.burstTrigger, burstMatchFrom_)) != std::string::npos) {
            burstMatchFrom_ = at + options_.burstTrigger.size();
            outgoing_ += BurstPattern(options_.burstBytes);
        }
    }
    if (options_.trigger.empty()) {
        return;
    }
    std::size_t at = 0;
    std::size_t length = 0;
    int channel = -1;
    while (FindTriggerLocked(matchFrom_, at, length, channel)) {
        matchFrom_ = at + length;
        ++commands_;
        if (channel >= 0) {
            QueueRecordsLocked(1, channel);
        } else {
            QueueRecordsLocked(options_.allChannels ? static_cast<int>(options_.channels.size())
                                                    : 1);
        }
    }
}

bool Simulator::FindTriggerLocked(std::size_t from, std::size_t& at, std::size_t& length,
                                  int& channel) const {
    static constexpr std::string_view kChannelMark = "{ch}";
    const std::size_t mark = options_.trigger.find(kChannelMark);
    if (mark == std::string::npos) {
        at = received_.find(options_.trigger, from);
        length = options_.trigger.size();
        channel = -1;
        return at != std::string::npos;
    }
    // The earliest of the channels' own triggers.
    bool found = false;
    for (const int candidate : options_.channels) {
        char number[16];
        std::snprintf(number, sizeof number, "%02d", candidate);
        std::string concrete = options_.trigger;
        concrete.replace(mark, kChannelMark.size(), number);
        const std::size_t where = received_.find(concrete, from);
        if (where != std::string::npos && (!found || where < at)) {
            found = true;
            at = where;
            length = concrete.size();
            channel = candidate;
        }
    }
    return found;
}

void Simulator::AcceptClient() {
    const int fd = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
    if (fd < 0) {
        return;
    }
    CloseFd(client_);
    client_ = fd;
    clientSeen_ = true;
    dropped_ = false;
}

void Simulator::Run() {
    auto nextTick = Clock::now() + std::chrono::milliseconds(options_.intervalMs);
    std::unique_lock lock(mutex_);
    while (!stopping_) {
        std::array<pollfd, 3> fds{};
        nfds_t count = 0;
        fds[count++] = {wake_[0], POLLIN, 0};
        const int line = LineFd();
        if (line >= 0) {
            fds[count++] = {line, static_cast<short>(POLLIN | (outgoing_.empty() ? 0 : POLLOUT)),
                            0};
        }
        if (listener_ >= 0 && options_.acceptClients) {
            fds[count++] = {listener_, POLLIN, 0};
        }
        int timeout = -1;
        if (options_.intervalMs > 0) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(nextTick - Clock::now());
            timeout = static_cast<int>(std::max<long long>(0, left.count()));
        }
        lock.unlock();
        ::poll(fds.data(), count, timeout);
        lock.lock();
        if ((fds[0].revents & POLLIN) != 0) {
            std::array<char, 64> drain{};
            while (::read(wake_[0], drain.data(), drain.size()) > 0) {
            }
        }
        for (nfds_t i = 1; i < count; ++i) {
            if (fds[i].fd == listener_ && (fds[i].revents & POLLIN) != 0) {
                AcceptClient();
            } else if (fds[i].fd == LineFd() && (fds[i].revents & (POLLIN | POLLHUP)) != 0) {
                ReadFromLine();
            }
        }
        if (options_.intervalMs > 0 && Clock::now() >= nextTick) {
            nextTick += std::chrono::milliseconds(options_.intervalMs);
            if (LineFd() >= 0) {
                QueueRecordsLocked(options_.allChannels ? static_cast<int>(options_.channels.size())
                                                        : 1);
            }
        }
        FlushLocked();
    }
}

}  // namespace gagesim
