#pragma once
// Converters for the connection tests, on 127.0.0.1: a listener that accepts, one that never
// answers (its accept queue filled, so further handshakes are silently dropped), and a port where
// nothing listens (a peer's, closed again). Built on the library's socket layer (started and
// stopped with each peer), with the few calls it has no use for (listening, accepting, reading a
// socket option) made directly.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "channels/channel.h"

namespace gage::test {

class LoopbackPeer {
  public:
    enum class Mode { Accepting, Silent };
    explicit LoopbackPeer(Mode mode = Mode::Accepting);
    ~LoopbackPeer();
    LoopbackPeer(const LoopbackPeer&) = delete;
    LoopbackPeer& operator=(const LoopbackPeer&) = delete;

    std::uint16_t port() const { return port_; }
    // Listening, and for Silent: the accept queue is full.
    bool ready() const { return ready_; }
    // Accepts the next connection within 5 s (closing any earlier one). False when none came.
    bool Accept();
    // What the accepted connection sends, until want bytes came or 5 s passed.
    std::string Receive(std::size_t want);
    // Bytes to the accepted connection, as a converter sends them.
    void SendAll(std::string_view bytes);
    // Closes the accepted connection: the peer closes its end.
    void CloseAccepted();
    // Stops listening (further connects are refused); an accepted connection stays.
    void Close();
    // Makes record a TCP/IP connection to port on 127.0.0.1.
    static void PointAt(ConnectionRecord& record, std::uint16_t port);
    // Points record at this peer, opens it and accepts the connection: true when both worked.
    bool Connect(ChannelContext& context, ConnectionRecord& record);

    // A port on 127.0.0.1 where nothing listens: connects to it are refused.
    static std::uint16_t RefusingPort();
    // Whether the socket sends small writes at once (TCP_NODELAY).
    static bool SendsAtOnce(std::intptr_t socket);

  private:
    bool started_ = false;
    std::intptr_t listener_ = -1;
    std::intptr_t accepted_ = -1;
    std::vector<std::intptr_t> fillers_;
    std::uint16_t port_ = 0;
    bool ready_ = false;
};

}  // namespace gage::test
