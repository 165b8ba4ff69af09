#include "channels/tcp_channel.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <memory>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "channels/tcp_connects.h"
#include "channels/tcp_socket.h"
#include "channels/user_signals.h"
#include "config/ipv4_address.h"
#include "support/library_pin.h"

namespace gage {
namespace {

constexpr std::size_t kErrorTextSize = 128;

tcp_socket::Native SocketOf(const ConnectionRecord& record) {
    return record.Socket.get();
}

// A failed connect leaves no socket behind; the next open makes a new one.
int FailConnect(ChannelContext& context, ConnectionRecord& record, int error) {
    TcpReportError(context, error);
    TcpClose(record);
    return 0;
}

int ConnectBlocking(ChannelContext& context, ConnectionRecord& record) {
    const int error = tcp_socket::Connect(SocketOf(record), record.IpAddress, record.TcpPort);
    if (error != 0 && error != TCP_ERR_WOULD_BLOCK) {
        return FailConnect(context, record, error);
    }
    return 1;
}

int ConnectTimed(ChannelContext& context, ConnectionRecord& record, double timeout) {
    ConnectionRecord* const one[] = {&record};
    const int error = ConnectTogether(one, timeout).front();
    return error == 0 ? 1 : FailConnect(context, record, error);
}

// A new socket with its options in record.Socket: 0, or the code of the failure (no socket then).
int CreateSocket(ConnectionRecord& record) {
    const tcp_socket::Native socket = tcp_socket::CreateStream();
    if (socket == tcp_socket::kInvalid) {
        const int error = tcp_socket::LastError();
        record.Socket.reset();
        return error;
    }
    record.Socket.reset(socket);
    if (!tcp_socket::SetReceiveBuffer(socket, kTcpReceiveBufferBytes)) {
        const int error = tcp_socket::LastError();
        TcpClose(record);
        return error;
    }
    if (!tcp_socket::SetKeepAlive(socket)) {
        ExclamationBeep();
    }
    // Commands go out a byte per write; held back for acknowledgements, every byte after the
    // first would wait for the converter's delayed acknowledgement (tens of milliseconds each).
    if (!tcp_socket::SetNoDelay(socket)) {
        ExclamationBeep();
    }
    if (!tcp_socket::SetReceiveTimeout(socket, kTcpReceiveTimeoutMs)) {
        ExclamationBeep();
    }
    // A converter that stops reading would otherwise hold a send, and the host, for ever.
    if (!tcp_socket::SetSendTimeout(socket, kTcpSendTimeoutMs)) {
        ExclamationBeep();
    }
    return 0;
}

// Errors after which the socket can carry nothing more.
bool EndsConnection(int error) {
    return error == TCP_ERR_CONNECTION_ABORTED || error == TCP_ERR_CONNECTION_RESET ||
           error == TCP_ERR_NOT_CONNECTED;
}

bool NeedsConnect(const ConnectionRecord& record) {
    return record.Kind == KIND_TCPIP && record.IpAddress != kInaddrNone && record.TcpPort >= 1 &&
           !record.Socket.is_open();
}

}  // namespace

int TcpStartup(ChannelContext& context) {
    bool versionOk = false;
    const int error = tcp_socket::Startup(versionOk);
    if (error != 0) {
        TcpReportError(context, error);
        return 0;
    }
    if (!versionOk) {
        TcpReportError(context, TCP_ERR_VERSION);
        tcp_socket::Cleanup();
        return 0;
    }
    return 1;
}

void TcpShutdown(ChannelContext&, ConnectionTable& connections) {
    TcpCloseAll(connections);
    tcp_socket::Cleanup();
}

std::uint32_t TcpResolveHost(const char* host) {
    // A dotted address needs no resolver (nor a started socket library).
    const std::uint32_t dotted = host != nullptr ? ParseIPv4Address(host) : kInaddrNone;
    return dotted != kInaddrNone ? dotted : tcp_socket::LookUpHost(host);
}

std::uint32_t TcpResolveHostWithin(const char* host, std::chrono::milliseconds limit) {
    const std::uint32_t dotted = host != nullptr ? ParseIPv4Address(host) : kInaddrNone;
    if (dotted != kInaddrNone || host == nullptr || host[0] == '\0') {
        return dotted;
    }
    // The thread may outlive the wait; it keeps the shared result alive until it is done.
    struct Lookup {
        std::mutex mutex;
        std::condition_variable finished;
        bool done = false;
        std::uint32_t address = kInaddrNone;
    };
    const auto lookup = std::make_shared<Lookup>();
    try {
        std::thread([lookup, name = std::string(host)] {
            const std::uint32_t address = tcp_socket::LookUpHost(name.c_str());
            const std::lock_guard<std::mutex> lock(lookup->mutex);
            lookup->address = address;
            lookup->done = true;
            lookup->finished.notify_all();
        }).detach();
    } catch (const std::system_error&) {
        return tcp_socket::LookUpHost(host);  // no thread to spare: look it up here
    }
    std::unique_lock<std::mutex> lock(lookup->mutex);
    if (!lookup->finished.wait_for(lock, limit, [&] { return lookup->done; })) {
        KeepLibraryLoaded();  // the look-up goes on in code of this library
        return kInaddrNone;
    }
    return lookup->address;
}

int TcpResolveHost(ChannelContext&, ConnectionRecord& record, const char* name) {
    const ScopedWaitCursor waiting;
    record.IpAddress = TcpResolveHost(name);
    return record.IpAddress != kInaddrNone ? 1 : 0;
}

int TcpSettleAddress(ChannelContext& context, ConnectionRecord& record) {
    record.TcpPort = static_cast<std::uint16_t>(record.PortNumber & 0xFFFF);
    if (record.HostName.empty()) {
        std::array<char, 64> dotted{};
        std::snprintf(dotted.data(), dotted.size(), "%u.%u.%u.%u", record.BaudRate, record.DataBits,
                      record.StopBits, record.Parity);
        record.IpAddress = ParseIPv4Address(dotted.data());
    } else {
        TcpResolveHost(context, record, record.HostName.c_str());
    }
    return record.TcpPort >= 1 && record.IpAddress != kInaddrNone ? 1 : 0;
}

std::string TcpAddressText(std::uint32_t address) {
    return tcp_socket::AddressText(address);
}

int TcpOpen(ChannelContext& context, ConnectionRecord& record) {
    TcpClose(record);
    if (TcpCreateSocket(context, record) == 0) {
        return 0;
    }
    return TcpConnect(context, record);
}

int TcpCreateSocket(ChannelContext& context, ConnectionRecord& record) {
    const int error = CreateSocket(record);
    if (error != 0) {
        TcpReportError(context, error);
        return 0;
    }
    return 1;
}

void TcpConnectAll(ChannelContext& context, ConnectionTable& connections) {
    std::vector<ConnectionRecord*> connecting;
    for (ConnectionRecord& record : connections) {
        if (!NeedsConnect(record)) {
            continue;
        }
        TcpClose(record);
        const int error = CreateSocket(record);
        if (error != 0) {
            record.HeldConnectError = error;
        } else {
            connecting.push_back(&record);
        }
    }
    if (connecting.empty()) {
        return;
    }
    const std::vector<int> errors =
        ConnectTogether(connecting, context.settings.TcpConnectionTimeout);
    for (std::size_t i = 0; i < connecting.size(); ++i) {
        if (errors[i] != 0) {
            TcpClose(*connecting[i]);
            connecting[i]->HeldConnectError = errors[i];
        }
    }
}

int TcpOpenSettled(ChannelContext& context, ConnectionRecord& record) {
    const int held = record.HeldConnectError;
    if (held == 0) {
        return TcpOpen(context, record);
    }
    TcpClose(record);
    TcpReportError(context, held);
    return 0;
}

int TcpConnect(ChannelContext& context, ConnectionRecord& record) {
    if (!record.Socket.is_open()) {
        TcpReportError(context, TCP_ERR_NOT_CONNECTED);
        return 0;
    }
    const double timeout = context.settings.TcpConnectionTimeout;
    return timeout > 0.0 ? ConnectTimed(context, record, timeout)
                         : ConnectBlocking(context, record);
}

int TcpClose(ConnectionRecord& record) {
    record.Socket.reset();
    record.HeldConnectError = 0;
    return 1;
}

void TcpCloseAll(ConnectionTable& connections) {
    for (ConnectionRecord& record : connections) {
        if (record.Kind == KIND_TCPIP) {
            TcpClose(record);
        }
    }
}

int TcpReceive(ChannelContext& context, ConnectionRecord& record) {
    // Always the full block, so that any later appender (serial-sized or simulated) fits too.
    if (!record.HasReceiveBuffer() && AllocateReceiveBuffer(record, kReceiveBufferSize) == 0) {
        return 0;
    }
    if (!record.Socket.is_open()) {
        return 0;  // nothing to receive from; opening is the business of the caller
    }
    const int held = std::clamp(record.RxCount, 0, kTcpAppendLimit);
    const int room = kTcpAppendLimit - held;
    if (room <= 0) {
        return 0;
    }
    // Nothing arriving within the receive time-out is the normal state of an idle line, not
    // an error worth a log line for every poll.
    const int ready = tcp_socket::WaitReadable(SocketOf(record), kTcpReceiveTimeoutMs);
    if (ready == 0) {
        return 0;
    }
    if (ready < 0) {
        TcpReportError(context, tcp_socket::LastError());
        return 0;
    }
    const int received = tcp_socket::Receive(SocketOf(record), record.RxBuffer.get() + held, room);
    if (received < 0) {
        const int error = tcp_socket::LastError();
        if (error != TCP_ERR_WOULD_BLOCK && error != TCP_ERR_TIMED_OUT) {
            TcpReportError(context, error);
            if (EndsConnection(error)) {
                TcpClose(record);
            }
        }
        return 0;
    }
    if (received == 0) {
        // Readable with nothing to read: the peer has closed its end. The socket is closed so
        // that callers see a lost connection instead of an idle one and open it afresh.
        TcpReportError(context, TCP_ERR_DISCONNECTED);
        TcpClose(record);
        return 0;
    }
    const int count = std::min(received, room);
    record.RxCount = held + count;
    return count;
}

int TcpSend(ChannelContext& context, ConnectionRecord& record, const std::uint8_t* bytes,
            int length) {
    if (length <= 0 || bytes == nullptr) {
        return 1;
    }
    if (!record.Socket.is_open()) {
        TcpReportError(context, TCP_ERR_NOT_CONNECTED);
        return 0;
    }
    int sent = 0;
    while (sent < length) {
        const int accepted = tcp_socket::Send(SocketOf(record), bytes + sent, length - sent);
        if (accepted < 0) {
            const int error = tcp_socket::LastError();
            if (error == TCP_ERR_INTERRUPTED) {
                continue;
            }
            if (error == TCP_ERR_WOULD_BLOCK || error == TCP_ERR_TIMED_OUT) {
                // The send time-out: part of a command may be on the line and the converter
                // reads no more, so the connection is closed, to be opened afresh when needed.
                TcpReportError(context, TCP_ERR_TIMED_OUT);
                TcpClose(record);
                return 0;
            }
            TcpReportError(context, error);
            return 0;
        }
        if (accepted == 0) {
            TcpReportError(context, TCP_ERR_NOT_CONNECTED);
            return 0;
        }
        sent += accepted;
    }
    return 1;
}

void TcpReportError(ChannelContext& context, int code) {
    if (code == 0) {
        code = tcp_socket::LastError();
    }
    std::string text =
        code > 0 ? context.support.LoadString(static_cast<unsigned>(code)) : std::string();
    if (text.empty()) {
        text = context.support.LoadString(IDS_TCP_UNKNOWN_ERROR);
    }
    if (text.empty()) {
        text = "Unknown Error";
    }
    if (text.size() >= kErrorTextSize) {
        text.resize(kErrorTextSize - 1);
    }
    context.support.UtilLogError(context.settings.LogPath.c_str(), kApplicationName, text.c_str());
}

}  // namespace gage
