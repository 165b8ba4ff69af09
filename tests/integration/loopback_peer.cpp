#include "loopback_peer.h"

#if defined(_WIN32)
#include <winsock2.h>
#else
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#endif

#include <array>
#include <cstdint>

#include "channels/tcp_channel.h"
#include "channels/tcp_socket.h"

namespace gage::test {
namespace {

namespace sockets = tcp_socket;

constexpr int kWaitMs = 5000;
constexpr int kFillerWaitMs = 200;
constexpr int kMaxFillers = 16;
constexpr std::uint32_t kLoopback = 0x0100007Fu;  // 127.0.0.1, network byte order

#if defined(_WIN32)
using SocketLength = int;
using OsSocket = SOCKET;
#else
using SocketLength = socklen_t;
using OsSocket = int;
#endif

OsSocket Os(sockets::Native socket) {
    return static_cast<OsSocket>(socket);
}

// A listener on a free loopback port; kInvalid on failure.
sockets::Native Listen(int backlog, std::uint16_t& port) {
    const auto socket = static_cast<sockets::Native>(::socket(AF_INET, SOCK_STREAM, 0));
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = kLoopback;
    SocketLength size = sizeof address;
    if (socket == sockets::kInvalid ||
        ::bind(Os(socket), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(Os(socket), backlog) != 0 ||
        ::getsockname(Os(socket), reinterpret_cast<sockaddr*>(&address), &size) != 0) {
        sockets::Close(socket);
        return sockets::kInvalid;
    }
    port = ntohs(address.sin_port);
    return socket;
}

}  // namespace

bool LoopbackPeer::SendsAtOnce(std::intptr_t socket) {
    int on = 0;
    SocketLength size = sizeof on;
    return ::getsockopt(Os(socket), IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<char*>(&on),
                        &size) == 0 &&
           on != 0;
}

LoopbackPeer::LoopbackPeer(Mode mode) {
    bool versionOk = false;
    started_ = sockets::Startup(versionOk) == 0;
    listener_ = Listen(mode == Mode::Silent ? 0 : 8, port_);
    ready_ = listener_ != sockets::kInvalid;
    if (!ready_ || mode != Mode::Silent) {
        return;
    }
    // Connect until a handshake is no longer answered: the queue is full from then on.
    ready_ = false;
    for (int i = 0; i < kMaxFillers && !ready_; ++i) {
        const sockets::Native filler = fillers_.emplace_back(sockets::CreateStream());
        sockets::SetNonBlocking(filler, true);
        if (sockets::Connect(filler, kLoopback, port_) == 0) {
            continue;
        }
        std::array<std::uint8_t, 1> settled{};
        const sockets::Native one[] = {filler};
        ready_ = sockets::WaitConnectsSettled(one, kFillerWaitMs, settled) == 0;
    }
}

LoopbackPeer::~LoopbackPeer() {
    CloseAccepted();
    for (const sockets::Native filler : fillers_) {
        sockets::Close(filler);
    }
    sockets::Close(listener_);
    if (started_) {
        sockets::Cleanup();
    }
}

bool LoopbackPeer::Accept() {
    CloseAccepted();
    if (sockets::WaitReadable(listener_, kWaitMs) == 1) {
        accepted_ = static_cast<sockets::Native>(::accept(Os(listener_), nullptr, nullptr));
    }
    return accepted_ != sockets::kInvalid;
}

std::string LoopbackPeer::Receive(std::size_t want) {
    std::string bytes;
    std::array<std::uint8_t, 4096> buffer{};
    while (bytes.size() < want && sockets::WaitReadable(accepted_, kWaitMs) == 1) {
        const int n = sockets::Receive(accepted_, buffer.data(), static_cast<int>(buffer.size()));
        if (n <= 0) {
            break;
        }
        bytes.append(reinterpret_cast<const char*>(buffer.data()), static_cast<std::size_t>(n));
    }
    return bytes;
}

void LoopbackPeer::SendAll(std::string_view bytes) {
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
    for (std::size_t sent = 0; sent < bytes.size();) {
        const int n = sockets::Send(accepted_, data + sent, static_cast<int>(bytes.size() - sent));
        if (n <= 0) {
            return;
        }
        sent += static_cast<std::size_t>(n);
    }
}

void LoopbackPeer::PointAt(ConnectionRecord& record, std::uint16_t port) {
    record.Kind = KIND_TCPIP;
    record.IpAddress = kLoopback;
    record.TcpPort = port;
    record.PortNumber = port;
}

bool LoopbackPeer::Connect(ChannelContext& context, ConnectionRecord& record) {
    PointAt(record, port_);
    return TcpOpen(context, record) == 1 && Accept();
}

void LoopbackPeer::Close() {
    sockets::Close(listener_);
    listener_ = sockets::kInvalid;
}

void LoopbackPeer::CloseAccepted() {
    sockets::Close(accepted_);
    accepted_ = sockets::kInvalid;
}

std::uint16_t LoopbackPeer::RefusingPort() {
    return LoopbackPeer().port();  // closed again at once
}

}  // namespace gage::test
