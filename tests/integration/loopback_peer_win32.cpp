#include <windows.h>
#include <winsock2.h>

#include "loopback_peer.h"

namespace gage::test {

std::intptr_t LoopbackPeer::Listen(int backlog, std::uint16_t& port) {
    const SOCKET socket = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = ::htonl(INADDR_LOOPBACK);
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

std::intptr_t LoopbackPeer::AcceptWaiting(std::intptr_t listener, int milliseconds) {
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(static_cast<SOCKET>(listener), &readable);
    timeval timeout{milliseconds / 1000, (milliseconds % 1000) * 1000};
    if (::select(0, &readable, nullptr, nullptr, &timeout) != 1) {
        return -1;
    }
    const SOCKET socket = ::accept(static_cast<SOCKET>(listener), nullptr, nullptr);
    return socket == INVALID_SOCKET ? -1 : static_cast<std::intptr_t>(socket);
}

bool LoopbackPeer::SendsAtOnce(std::intptr_t socket) {
    BOOL on = FALSE;
    int size = sizeof on;
    return ::getsockopt(static_cast<SOCKET>(socket), IPPROTO_TCP, TCP_NODELAY,
                        reinterpret_cast<char*>(&on), &size) == 0 &&
           on != FALSE;
}

}  // namespace gage::test
