// The socket calls over Windows Sockets 2.

#include <windows.h>
#include <winsock2.h>
#include <ws2tcpip.h>

#include "channels/tcp_socket.h"

namespace gage::tcp_socket {
namespace {

SOCKET Sock(Native socket) {
    return static_cast<SOCKET>(socket);
}

bool SetTimeout(Native socket, int option, int milliseconds) {
    const DWORD timeout = static_cast<DWORD>(milliseconds);
    return ::setsockopt(Sock(socket), SOL_SOCKET, option, reinterpret_cast<const char*>(&timeout),
                        sizeof timeout) == 0;
}

}  // namespace

int Startup(bool& versionOk) {
    WSADATA data{};
    const int error = ::WSAStartup(MAKEWORD(2, 0), &data);
    if (error != 0) {
        versionOk = false;
        return error;
    }
    versionOk = data.wVersion == MAKEWORD(2, 0);
    return 0;
}

void Cleanup() {
    ::WSACleanup();
}

int LastError() {
    return ::WSAGetLastError();
}

Native CreateStream() {
    const SOCKET socket = ::socket(AF_INET, SOCK_STREAM, 0);
    return socket == INVALID_SOCKET ? kInvalid : static_cast<Native>(socket);
}

void Close(Native socket) {
    if (socket != kInvalid) {
        ::closesocket(Sock(socket));
    }
}

bool SetReceiveBuffer(Native socket, int bytes) {
    return ::setsockopt(Sock(socket), SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&bytes),
                        sizeof bytes) == 0;
}

bool SetKeepAlive(Native socket) {
    const BOOL on = TRUE;
    return ::setsockopt(Sock(socket), SOL_SOCKET, SO_KEEPALIVE, reinterpret_cast<const char*>(&on),
                        sizeof on) == 0;
}

bool SetNoDelay(Native socket) {
    const BOOL on = TRUE;
    return ::setsockopt(Sock(socket), IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&on),
                        sizeof on) == 0;
}

bool SetReceiveTimeout(Native socket, int milliseconds) {
    return SetTimeout(socket, SO_RCVTIMEO, milliseconds);
}

bool SetSendTimeout(Native socket, int milliseconds) {
    return SetTimeout(socket, SO_SNDTIMEO, milliseconds);
}

bool SetNonBlocking(Native socket, bool on) {
    u_long mode = on ? 1 : 0;
    return ::ioctlsocket(Sock(socket), FIONBIO, &mode) == 0;
}

int Connect(Native socket, std::uint32_t address, std::uint16_t port) {
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_port = ::htons(port);
    peer.sin_addr.s_addr = address;
    if (::connect(Sock(socket), reinterpret_cast<const sockaddr*>(&peer), sizeof peer) == 0) {
        return 0;
    }
    return ::WSAGetLastError();
}

int WaitConnectsSettled(std::span<const Native> sockets, int milliseconds,
                        std::span<std::uint8_t> settled) {
    if (sockets.size() > FD_SETSIZE) {
        ::WSASetLastError(WSAEINVAL);
        return -1;
    }
    // A refused connect shows in the exception set on Windows; watch it too so that it does
    // not wait out the whole time-out.
    fd_set writable;
    fd_set failed;
    FD_ZERO(&writable);
    FD_ZERO(&failed);
    for (const Native socket : sockets) {
        FD_SET(Sock(socket), &writable);
        FD_SET(Sock(socket), &failed);
    }
    timeval timeout{milliseconds / 1000, (milliseconds % 1000) * 1000};
    const int ready =
        ::select(0, nullptr, &writable, &failed, milliseconds < 0 ? nullptr : &timeout);
    if (ready == SOCKET_ERROR) {
        return -1;
    }
    int count = 0;
    for (std::size_t i = 0; i < sockets.size() && i < settled.size(); ++i) {
        const bool done =
            FD_ISSET(Sock(sockets[i]), &writable) || FD_ISSET(Sock(sockets[i]), &failed);
        settled[i] = done ? 1 : 0;
        count += done ? 1 : 0;
    }
    return count;
}

int WaitReadable(Native socket, int milliseconds) {
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(Sock(socket), &readable);
    timeval timeout{milliseconds / 1000, (milliseconds % 1000) * 1000};
    const int ready = ::select(0, &readable, nullptr, nullptr, &timeout);
    return ready == SOCKET_ERROR ? -1 : (ready > 0 ? 1 : 0);
}

bool PendingError(Native socket, int& error) {
    int value = 0;
    int size = sizeof value;
    if (::getsockopt(Sock(socket), SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&value), &size) !=
        0) {
        return false;
    }
    error = value;
    return true;
}

int Receive(Native socket, std::uint8_t* destination, int length) {
    const int n = ::recv(Sock(socket), reinterpret_cast<char*>(destination), length, 0);
    return n == SOCKET_ERROR ? -1 : n;
}

int Send(Native socket, const std::uint8_t* bytes, int length) {
    const int n = ::send(Sock(socket), reinterpret_cast<const char*>(bytes), length, 0);
    return n == SOCKET_ERROR ? -1 : n;
}

std::uint32_t InetAddr(const char* text) {
    return text == nullptr ? INADDR_NONE : ::inet_addr(text);
}

std::uint32_t LookUpHost(const char* name) {
    if (name == nullptr || name[0] == '\0') {
        return INADDR_NONE;
    }
    const hostent* found = ::gethostbyname(name);
    if (found == nullptr || found->h_addrtype != AF_INET || found->h_addr_list == nullptr ||
        found->h_addr_list[0] == nullptr) {
        return INADDR_NONE;
    }
    in_addr address{};
    memcpy(&address, found->h_addr_list[0], sizeof address);
    return address.s_addr;
}

std::string AddressText(std::uint32_t address) {
    in_addr value{};
    value.s_addr = address;
    const char* text = ::inet_ntoa(value);
    return text != nullptr ? text : "";
}

}  // namespace gage::tcp_socket
