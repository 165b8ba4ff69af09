#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "loopback_peer.h"

namespace gage::test {
namespace {

constexpr int kWaitMs = 5000;
constexpr int kFillerWaitMs = 200;
constexpr int kMaxFillers = 16;

sockaddr_in Loopback(std::uint16_t port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

// Listens on a free loopback port: the socket, or -1; port receives the number.
int Listen(int backlog, std::uint16_t& port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = Loopback(0);
    socklen_t size = sizeof address;
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(fd, backlog) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
        if (fd >= 0) {
            ::close(fd);
        }
        return -1;
    }
    port = ntohs(address.sin_port);
    return fd;
}

bool Readable(int fd, int milliseconds) {
    pollfd waiting{fd, POLLIN, 0};
    return ::poll(&waiting, 1, milliseconds) == 1;
}

}  // namespace

LoopbackPeer::LoopbackPeer(Mode mode) {
    listener_ = Listen(mode == Mode::Silent ? 0 : 8, port_);
    ready_ = listener_ >= 0;
    if (!ready_ || mode != Mode::Silent) {
        return;
    }
    // Connect until a handshake is no longer answered: the queue is full from then on.
    ready_ = false;
    const sockaddr_in peer = Loopback(port_);
    for (int i = 0; i < kMaxFillers && !ready_; ++i) {
        const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
        fillers_.push_back(fd);
        if (::connect(fd, reinterpret_cast<const sockaddr*>(&peer), sizeof peer) == 0) {
            continue;
        }
        pollfd waiting{fd, POLLOUT, 0};
        ready_ = ::poll(&waiting, 1, kFillerWaitMs) == 0;
    }
}

LoopbackPeer::~LoopbackPeer() {
    CloseAccepted();
    for (const std::intptr_t fd : fillers_) {
        ::close(static_cast<int>(fd));
    }
    if (listener_ >= 0) {
        ::close(static_cast<int>(listener_));
    }
}

bool LoopbackPeer::Accept() {
    CloseAccepted();
    if (!Readable(static_cast<int>(listener_), kWaitMs)) {
        return false;
    }
    accepted_ = ::accept(static_cast<int>(listener_), nullptr, nullptr);
    return accepted_ >= 0;
}

std::string LoopbackPeer::Receive(std::size_t want) {
    std::string bytes;
    char buffer[256];
    while (bytes.size() < want && Readable(static_cast<int>(accepted_), kWaitMs)) {
        const ssize_t n = ::recv(static_cast<int>(accepted_), buffer, sizeof buffer, 0);
        if (n <= 0) {
            break;
        }
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    return bytes;
}

void LoopbackPeer::CloseAccepted() {
    if (accepted_ >= 0) {
        ::close(static_cast<int>(accepted_));
        accepted_ = -1;
    }
}

std::uint16_t LoopbackPeer::RefusingPort() {
    std::uint16_t port = 0;
    const int fd = Listen(1, port);
    if (fd >= 0) {
        ::close(fd);
    }
    return port;
}

}  // namespace gage::test
