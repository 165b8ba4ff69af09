#pragma once
// A TCP listener of the test's own on 127.0.0.1 that accepts one client at a time, sends it bytes
// and receives what it sends. Sockets must have been started (WSAStartup).

#include <winsock2.h>

#include <cstdint>
#include <string>

namespace gage::test {

class Listener {
  public:
    explicit Listener(int backlog = 4) {
        socket_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = ::htonl(INADDR_LOOPBACK);
        ::bind(socket_, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::listen(socket_, backlog);
        int size = sizeof address;
        ::getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &size);
        port_ = ::ntohs(address.sin_port);
    }
    ~Listener() {
        CloseClient();
        Close();
    }
    std::uint16_t port() const { return port_; }
    bool Accept() {
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(socket_, &readable);
        timeval timeout{5, 0};
        if (::select(0, &readable, nullptr, nullptr, &timeout) != 1) {
            return false;
        }
        CloseClient();
        client_ = ::accept(socket_, nullptr, nullptr);
        return client_ != INVALID_SOCKET;
    }
    void SendAll(const std::string& bytes) {
        std::size_t sent = 0;
        while (sent < bytes.size()) {
            const int n =
                ::send(client_, bytes.data() + sent, static_cast<int>(bytes.size() - sent), 0);
            if (n <= 0) {
                return;
            }
            sent += static_cast<std::size_t>(n);
        }
    }
    std::string ReceiveSome() {
        char buffer[256];
        const int n = ::recv(client_, buffer, sizeof buffer, 0);
        return n > 0 ? std::string(buffer, static_cast<std::size_t>(n)) : std::string();
    }
    // What the client sends until count bytes have come (or 5 s pass without any).
    std::string Receive(std::size_t count) {
        std::string received;
        while (received.size() < count) {
            fd_set readable;
            FD_ZERO(&readable);
            FD_SET(client_, &readable);
            timeval timeout{5, 0};
            if (::select(0, &readable, nullptr, nullptr, &timeout) != 1) {
                break;
            }
            const std::string some = ReceiveSome();
            if (some.empty()) {
                break;
            }
            received += some;
        }
        return received;
    }
    void CloseClient() {
        if (client_ != INVALID_SOCKET) {
            ::closesocket(client_);
            client_ = INVALID_SOCKET;
        }
    }
    void Close() {
        if (socket_ != INVALID_SOCKET) {
            ::closesocket(socket_);
            socket_ = INVALID_SOCKET;
        }
    }

  private:
    SOCKET socket_ = INVALID_SOCKET;
    SOCKET client_ = INVALID_SOCKET;
    std::uint16_t port_ = 0;
};

}  // namespace gage::test
