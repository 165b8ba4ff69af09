#include "loopback_peer.h"

#include <array>
#include <cstdint>

#include "channels/tcp_socket.h"

namespace gage::test {
namespace {

namespace sockets = tcp_socket;

constexpr int kWaitMs = 5000;
constexpr int kFillerWaitMs = 200;
constexpr int kMaxFillers = 16;
constexpr std::uint32_t kLoopback = 0x0100007Fu;  // 127.0.0.1, network byte order

}  // namespace

LoopbackPeer::LoopbackPeer(Mode mode) {
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
}

bool LoopbackPeer::Accept() {
    CloseAccepted();
    accepted_ = AcceptWaiting(listener_, kWaitMs);
    return accepted_ != sockets::kInvalid;
}

std::string LoopbackPeer::Receive(std::size_t want) {
    std::string bytes;
    std::array<std::uint8_t, 256> buffer{};
    while (bytes.size() < want && sockets::WaitReadable(accepted_, kWaitMs) == 1) {
        const int n = sockets::Receive(accepted_, buffer.data(), static_cast<int>(buffer.size()));
        if (n <= 0) {
            break;
        }
        bytes.append(reinterpret_cast<const char*>(buffer.data()), static_cast<std::size_t>(n));
    }
    return bytes;
}

void LoopbackPeer::CloseAccepted() {
    sockets::Close(accepted_);
    accepted_ = sockets::kInvalid;
}

std::uint16_t LoopbackPeer::RefusingPort() {
    std::uint16_t port = 0;
    sockets::Close(Listen(1, port));
    return port;
}

}  // namespace gage::test
