#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "loopback_peer.h"

namespace gage::test {

std::intptr_t LoopbackPeer::Listen(int backlog, std::uint16_t& port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
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

std::intptr_t LoopbackPeer::AcceptWaiting(std::intptr_t listener, int milliseconds) {
    pollfd waiting{static_cast<int>(listener), POLLIN, 0};
    if (::poll(&waiting, 1, milliseconds) != 1) {
        return -1;
    }
    return ::accept(static_cast<int>(listener), nullptr, nullptr);
}

bool LoopbackPeer::SendsAtOnce(std::intptr_t socket) {
    int on = 0;
    socklen_t size = sizeof on;
    return ::getsockopt(static_cast<int>(socket), IPPROTO_TCP, TCP_NODELAY, &on, &size) == 0 &&
           on != 0;
}

}  // namespace gage::test
