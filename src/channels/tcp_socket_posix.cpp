#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/select.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <vector>

#include "channels/tcp_socket.h"

namespace gage::tcp_socket {
namespace {

int Fd(Native socket) {
    return static_cast<int>(socket);
}

int WindowsCode(int error) {
    switch (error) {
        case 0:
            return 0;
        case EINTR:
            return 10004;
        case EBADF:
            return 10009;
        case EACCES:
            return 10013;
        case EFAULT:
            return 10014;
        case EINVAL:
            return 10022;
        case EMFILE:
            return 10024;
        case EAGAIN:
            return 10035;
        case EINPROGRESS:
            return 10035;  // a non-blocking connect under way, as Windows says it
        case EALREADY:
            return 10037;
        case ENOTSOCK:
            return 10038;
        case EDESTADDRREQ:
            return 10039;
        case EMSGSIZE:
            return 10040;
        case EPROTOTYPE:
            return 10041;
        case ENOPROTOOPT:
            return 10042;
        case EPROTONOSUPPORT:
            return 10043;
        case ESOCKTNOSUPPORT:
            return 10044;
        case EOPNOTSUPP:
            return 10045;
        case EPFNOSUPPORT:
            return 10046;
        case EAFNOSUPPORT:
            return 10047;
        case EADDRINUSE:
            return 10048;
        case EADDRNOTAVAIL:
            return 10049;
        case ENETDOWN:
            return 10050;
        case ENETUNREACH:
            return 10051;
        case ENETRESET:
            return 10052;
        case ECONNABORTED:
            return 10053;
        case ECONNRESET:
            return 10054;
        case EPIPE:
            return 10054;
        case ENOBUFS:
            return 10055;
        case EISCONN:
            return 10056;
        case ENOTCONN:
            return 10057;
        case ESHUTDOWN:
            return 10058;
        case ETOOMANYREFS:
            return 10059;
        case ETIMEDOUT:
            return 10060;
        case ECONNREFUSED:
            return 10061;
        case ELOOP:
            return 10062;
        case ENAMETOOLONG:
            return 10063;
        case EHOSTDOWN:
            return 10064;
        case EHOSTUNREACH:
            return 10065;
        case ENOTEMPTY:
            return 10066;
        case EUSERS:
            return 10068;
        case EDQUOT:
            return 10069;
        case ESTALE:
            return 10070;
        case EREMOTE:
            return 10071;
        default:
            return kUnknownError;
    }
}

bool SetInt(Native socket, int level, int option, int value) {
    return ::setsockopt(Fd(socket), level, option, &value, sizeof value) == 0;
}

bool SetTimeout(Native socket, int option, int milliseconds) {
    timeval timeout{milliseconds / 1000, (milliseconds % 1000) * 1000};
    return ::setsockopt(Fd(socket), SOL_SOCKET, option, &timeout, sizeof timeout) == 0;
}

}  // namespace

int Startup(bool& versionOk) {
    versionOk = true;
    return 0;
}

void Cleanup() {}

int LastError() {
    return WindowsCode(errno);
}

Native CreateStream() {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    return fd < 0 ? kInvalid : fd;
}

void Close(Native socket) {
    if (socket != kInvalid) {
        ::close(Fd(socket));
    }
}

bool SetReceiveBuffer(Native socket, int bytes) {
    return SetInt(socket, SOL_SOCKET, SO_RCVBUF, bytes);
}

bool SetKeepAlive(Native socket) {
    return SetInt(socket, SOL_SOCKET, SO_KEEPALIVE, 1);
}

bool SetNoDelay(Native socket) {
    return SetInt(socket, IPPROTO_TCP, TCP_NODELAY, 1);
}

bool SetReceiveTimeout(Native socket, int milliseconds) {
    return SetTimeout(socket, SO_RCVTIMEO, milliseconds);
}

bool SetSendTimeout(Native socket, int milliseconds) {
    return SetTimeout(socket, SO_SNDTIMEO, milliseconds);
}

bool SetNonBlocking(Native socket, bool on) {
    const int flags = ::fcntl(Fd(socket), F_GETFL);
    if (flags < 0) {
        return false;
    }
    return ::fcntl(Fd(socket), F_SETFL, on ? (flags | O_NONBLOCK) : (flags & ~O_NONBLOCK)) == 0;
}

int Connect(Native socket, std::uint32_t address, std::uint16_t port) {
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_port = htons(port);
    peer.sin_addr.s_addr = address;
    if (::connect(Fd(socket), reinterpret_cast<const sockaddr*>(&peer), sizeof peer) == 0) {
        return 0;
    }
    return LastError();
}

int WaitConnectsSettled(std::span<const Native> sockets, int milliseconds,
                        std::span<std::uint8_t> settled) {
    std::vector<pollfd> waiting;
    waiting.reserve(sockets.size());
    for (const Native socket : sockets) {
        waiting.push_back(pollfd{Fd(socket), POLLOUT, 0});
    }
    const int ready = ::poll(waiting.data(), waiting.size(), milliseconds < 0 ? -1 : milliseconds);
    if (ready < 0) {
        return -1;
    }
    for (std::size_t i = 0; i < waiting.size() && i < settled.size(); ++i) {
        settled[i] = waiting[i].revents != 0 ? 1 : 0;
    }
    return ready;
}

int WaitReadable(Native socket, int milliseconds) {
    pollfd waiting{Fd(socket), POLLIN, 0};
    const int ready = ::poll(&waiting, 1, milliseconds);
    return ready < 0 ? -1 : (ready > 0 ? 1 : 0);
}

bool PendingError(Native socket, int& error) {
    int value = 0;
    socklen_t size = sizeof value;
    if (::getsockopt(Fd(socket), SOL_SOCKET, SO_ERROR, &value, &size) != 0) {
        return false;
    }
    error = WindowsCode(value);
    return true;
}

int Receive(Native socket, std::uint8_t* destination, int length) {
    const ssize_t n = ::recv(Fd(socket), destination, static_cast<std::size_t>(length), 0);
    return n < 0 ? -1 : static_cast<int>(n);
}

int Send(Native socket, const std::uint8_t* bytes, int length) {
    const ssize_t n = ::send(Fd(socket), bytes, static_cast<std::size_t>(length), MSG_NOSIGNAL);
    return n < 0 ? -1 : static_cast<int>(n);
}

std::uint32_t InetAddr(const char* text) {
    in_addr address{};
    if (text == nullptr || ::inet_aton(text, &address) == 0) {
        return 0xFFFFFFFFu;
    }
    return address.s_addr;
}

std::uint32_t LookUpHost(const char* name) {
    if (name == nullptr || name[0] == '\0') {
        return 0xFFFFFFFFu;
    }
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (::getaddrinfo(name, nullptr, &hints, &found) != 0 || found == nullptr) {
        return 0xFFFFFFFFu;
    }
    std::uint32_t address = 0xFFFFFFFFu;
    for (const addrinfo* entry = found; entry != nullptr; entry = entry->ai_next) {
        if (entry->ai_family == AF_INET && entry->ai_addr != nullptr) {
            sockaddr_in ipv4{};
            std::memcpy(&ipv4, entry->ai_addr, sizeof ipv4);
            address = ipv4.sin_addr.s_addr;
            break;
        }
    }
    ::freeaddrinfo(found);
    return address;
}

std::string AddressText(std::uint32_t address) {
    in_addr value{};
    value.s_addr = address;
    std::array<char, INET_ADDRSTRLEN> text{};
    if (::inet_ntop(AF_INET, &value, text.data(), text.size()) == nullptr) {
        return {};
    }
    return text.data();
}

}  // namespace gage::tcp_socket
