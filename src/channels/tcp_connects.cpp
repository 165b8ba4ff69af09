#include "channels/tcp_connects.h"

#include <chrono>
#include <cmath>

#include "channels/tcp_channel.h"
#include "channels/tcp_socket.h"

namespace gage {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kPending = -1;

// Milliseconds left until the deadline, rounded up so that a wait never ends early.
int MillisecondsUntil(Clock::time_point deadline) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

// The outcome of a connect the wait reported settled: connected, or its error.
int SettledOutcome(tcp_socket::Native socket) {
    int error = 0;
    if (!tcp_socket::PendingError(socket, error)) {
        return tcp_socket::LastError();
    }
    return error;
}

}  // namespace

std::vector<int> ConnectTogether(std::span<ConnectionRecord* const> records,
                                 double timeoutSeconds) {
    std::vector<int> results(records.size(), kPending);
    for (std::size_t i = 0; i < records.size(); ++i) {
        const ConnectionRecord& record = *records[i];
        const tcp_socket::Native socket = record.Socket.get();
        tcp_socket::SetNonBlocking(socket, true);
        const int error = tcp_socket::Connect(socket, record.IpAddress, record.TcpPort);
        if (error != TCP_ERR_WOULD_BLOCK) {
            results[i] = error;
        }
    }

    const bool limited = timeoutSeconds > 0.0;
    const auto timeout =
        std::chrono::microseconds(static_cast<long long>(std::trunc(timeoutSeconds * 1000000.0)));
    const Clock::time_point deadline = Clock::now() + timeout;
    for (;;) {
        std::vector<std::size_t> waiting;
        std::vector<tcp_socket::Native> sockets;
        for (std::size_t i = 0; i < records.size(); ++i) {
            if (results[i] == kPending) {
                waiting.push_back(i);
                sockets.push_back(records[i]->Socket.get());
            }
        }
        if (waiting.empty()) {
            break;
        }
        const int milliseconds = limited ? MillisecondsUntil(deadline) : -1;
        std::vector<std::uint8_t> settled(waiting.size(), 0);
        const int ready =
            milliseconds == 0 ? 0 : tcp_socket::WaitConnectsSettled(sockets, milliseconds, settled);
        if (ready < 0) {
            // An interrupted wait counts as the time-out running out.
            int error = tcp_socket::LastError();
            if (error == TCP_ERR_INTERRUPTED) {
                error = TCP_ERR_TIMED_OUT;
            }
            for (const std::size_t i : waiting) {
                results[i] = error;
            }
            break;
        }
        if (ready == 0 && milliseconds == 0) {
            for (const std::size_t i : waiting) {
                results[i] = TCP_ERR_TIMED_OUT;
            }
            break;
        }
        for (std::size_t k = 0; k < waiting.size(); ++k) {
            if (settled[k] != 0) {
                results[waiting[k]] = SettledOutcome(sockets[k]);
            }
        }
    }

    for (std::size_t i = 0; i < records.size(); ++i) {
        if (results[i] == 0) {
            tcp_socket::SetNonBlocking(records[i]->Socket.get(), false);
        }
    }
    return results;
}

}  // namespace gage
