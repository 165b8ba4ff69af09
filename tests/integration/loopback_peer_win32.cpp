#include <windows.h>
#include <winsock2.h>

#include "loopback_peer.h"

namespace gage::test {
namespace {

constexpr long kWaitMs = 5000;
constexpr long kFillerWaitMs = 200;
constexpr int kMaxFillers = 16;

SOCKET Sock(std::intptr_t socket) {
    return static_cast<SOCKET>(socket);
}

sockaddr_in Loopback(std::uint16_t port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = ::htons(port);
    address.sin_addr.s_addr = ::htonl(INADDR_LOOPBACK);
    return address;
}

// Listens on a free loopback port: the socket, or -1; port receives the number.
std::intptr_t Listen(int backlog, std::uint16_t& port) {
    const SOCKET socket = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address = Loopback(0);
    int size = sizeof address;
    if (socket == INVALID_SOCKET ||
        ::bind(socket, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(socket, backlog) != 0 ||
        ::getsockname(socket, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
        if (socket != INVALID_SOCKET) {
            ::closesocket(socket);
        }
        return -1;
    }
    port = ::ntohs(address.sin_port);
    return static_cast<std::intptr_t>(socket);
}

bool Waits(SOCKET socket, bool forWrite, long milliseconds) {
    fd_set set;
    FD_ZERO(&set);
    FD_SET(socket, &set);
    timeval timeout{milliseconds / 1000, (milliseconds % 1000) * 1000};
    return ::select(0, forWrite ? nullptr : &set, forWrite ? &set : nullptr, nullptr, &timeout) ==
           1;
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
        const SOCKET socket = ::socket(AF_INET, SOCK_STREAM, 0);
        fillers_.push_back(static_cast<std::intptr_t>(socket));
        u_long nonBlocking = 1;
        ::ioctlsocket(socket, FIONBIO, &nonBlocking);
        if (::connect(socket, reinterpret_cast<const sockaddr*>(&peer), sizeof peer) == 0) {
            continue;
        }
        ready_ = !Waits(socket, true, kFillerWaitMs);
    }
}

LoopbackPeer::~LoopbackPeer() {
    CloseAccepted();
    for (const std::intptr_t socket : fillers_) {
        ::closesocket(Sock(socket));
    }
    if (listener_ >= 0) {
        ::closesocket(Sock(listener_));
    }
}

bool LoopbackPeer::Accept() {
    CloseAccepted();
    if (!Waits(Sock(listener_), false, kWaitMs)) {
        return false;
    }
    const SOCKET socket = ::accept(Sock(listener_), nullptr, nullptr);
    accepted_ = socket == INVALID_SOCKET ? -1 : static_cast<std::intptr_t>(socket);
    return accepted_ >= 0;
}

std::string LoopbackPeer::Receive(std::size_t want) {
    std::string bytes;
    char buffer[256];
    while (bytes.size() < want && Waits(Sock(accepted_), false, kWaitMs)) {
        const int n = ::recv(Sock(accepted_), buffer, sizeof buffer, 0);
        if (n <= 0) {
            break;
        }
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    return bytes;
}

void LoopbackPeer::CloseAccepted() {
    if (accepted_ >= 0) {
        ::closesocket(Sock(accepted_));
        accepted_ = -1;
    }
}

std::uint16_t LoopbackPeer::RefusingPort() {
    std::uint16_t port = 0;
    const std::intptr_t socket = Listen(1, port);
    if (socket >= 0) {
        ::closesocket(Sock(socket));
    }
    return port;
}

}  // namespace gage::test
