#pragma once
// A connection record whose "socket" is one end of a local socket pair: what the engine sends
// can be read back from the other end, and what a test writes there arrives as from a device.

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string>
#include <string_view>

#include "config/connection_record.h"

namespace gage::testing_support {

class SocketPairLine {
  public:
    explicit SocketPairLine(ConnectionRecord& record) {
        int ends[2] = {-1, -1};
        if (::socketpair(AF_UNIX, SOCK_STREAM, 0, ends) == 0) {
            record.Kind = KIND_TCPIP;
            record.Socket.reset(ends[0]);
            far_ = ends[1];
        }
    }
    ~SocketPairLine() {
        if (far_ >= 0) {
            ::close(far_);
        }
    }
    SocketPairLine(const SocketPairLine&) = delete;
    SocketPairLine& operator=(const SocketPairLine&) = delete;

    bool ok() const { return far_ >= 0; }
    // Bytes as a device would send them.
    void Send(std::string_view bytes) const {
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t n = ::write(far_, bytes.data() + done, bytes.size() - done);
            if (n <= 0) {
                return;
            }
            done += static_cast<std::size_t>(n);
        }
    }
    // Everything the engine has sent so far (waits briefly for nothing more to come).
    std::string Received() const {
        std::string text;
        char chunk[4096];
        pollfd readable{far_, POLLIN, 0};
        while (::poll(&readable, 1, 20) > 0 && (readable.revents & POLLIN) != 0) {
            const ssize_t n = ::read(far_, chunk, sizeof chunk);
            if (n <= 0) {
                break;
            }
            text.append(chunk, static_cast<std::size_t>(n));
        }
        return text;
    }

  private:
    int far_ = -1;
};

}  // namespace gage::testing_support
