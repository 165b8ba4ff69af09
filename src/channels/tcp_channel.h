#pragma once
// TCP/IP connections to serial-to-network converters, over Windows Sockets or POSIX sockets.
// Errors never reach the user as message boxes: their texts go to the log file.

#include <chrono>
#include <cstdint>
#include <string>

#include "channels/channel.h"

namespace gage {

// Windows Sockets error codes, also used for the POSIX errors they correspond to.
inline constexpr int TCP_ERR_INTERRUPTED = 10004;
inline constexpr int TCP_ERR_WOULD_BLOCK = 10035;
inline constexpr int TCP_ERR_NET_UNREACHABLE = 10051;
inline constexpr int TCP_ERR_CONNECTION_ABORTED = 10053;
inline constexpr int TCP_ERR_CONNECTION_RESET = 10054;
inline constexpr int TCP_ERR_NOT_CONNECTED = 10057;
inline constexpr int TCP_ERR_TIMED_OUT = 10060;
inline constexpr int TCP_ERR_REFUSED = 10061;
inline constexpr int TCP_ERR_VERSION = 10092;
inline constexpr int TCP_ERR_DISCONNECTED = 10101;  // the peer closed its end
inline constexpr int TCP_ERR_HOST_NOT_FOUND = 11001;
inline constexpr unsigned IDS_TCP_UNKNOWN_ERROR = 1066;

inline constexpr int kTcpReceiveBufferBytes = 4096;  // SO_RCVBUF
inline constexpr int kTcpReceiveTimeoutMs = 1;       // SO_RCVTIMEO
// SO_SNDTIMEO: the send buffers are full and the converter has taken nothing for this long.
inline constexpr int kTcpSendTimeoutMs = 2000;

// Starts the socket library (Windows Sockets 2.0); a failure is logged. Returns 1 on success.
int TcpStartup(ChannelContext& context);
// Closes the socket of every TCP/IP connection and stops the socket library.
void TcpShutdown(ChannelContext& context, ConnectionTable& connections);
// A dotted address or a host name to an IPv4 address in network byte order; kInaddrNone when
// it cannot be resolved.
std::uint32_t TcpResolveHost(const char* host);
// TcpResolveHost waited for at most limit: the look-up runs on a thread of its own, so that a
// name server that does not answer holds the caller no longer. kInaddrNone when not in time.
std::uint32_t TcpResolveHostWithin(const char* host, std::chrono::milliseconds limit);
// Resolves name under the wait cursor into record.IpAddress (kInaddrNone when not found).
// 1 found, 0 not.
int TcpResolveHost(ChannelContext& context, ConnectionRecord& record, const char* name);
// Settles TcpPort (low 16 bits of PortNumber) and IpAddress (the four octets when HostName is
// empty, else the resolved name). 1 when the record is usable.
int TcpSettleAddress(ChannelContext& context, ConnectionRecord& record);
// Dotted text of an address in network byte order.
std::string TcpAddressText(std::uint32_t address);

// Closes any open socket, creates a new one and connects it. 1 connected, 0 not.
int TcpOpen(ChannelContext& context, ConnectionRecord& record);
// A new IPv4 stream socket with the receive-buffer, keep-alive and receive time-out options.
int TcpCreateSocket(ChannelContext& context, ConnectionRecord& record);
// Connects blocking (time-out 0) or within TcpConnectionTimeout seconds. 1 or 0.
int TcpConnect(ChannelContext& context, ConnectionRecord& record);
// Connects every TCP/IP row that is usable and has no open socket, all at once: one wait covers
// them, each bounded by the connection time-out (0: the system's own limit), so the whole takes
// about one time-out however many converters are unreachable. A row is left connected, or
// closed with its failure held for TcpOpenSettled; nothing is logged here.
void TcpConnectAll(ChannelContext& context, ConnectionTable& connections);
// Opens a row as TcpOpen does, unless TcpConnectAll has already tried it: its held failure is
// then logged now (in row order) and not tried a second time. 1 connected, 0 not.
int TcpOpenSettled(ChannelContext& context, ConnectionRecord& record);
// Closes the socket, whether or not one was open. Always 1.
int TcpClose(ConnectionRecord& record);
// TcpClose on every TCP/IP row.
void TcpCloseAll(ConnectionTable& connections);
// Appends what arrives within about a millisecond, keeping at most 4096 unconsumed bytes.
// Bytes received, 0 for none or failure. A peer that has closed its end (or reset the
// connection) is logged and the socket closed.
int TcpReceive(ChannelContext& context, ConnectionRecord& record);
// Sends all bytes, continuing after partial sends. 1 when all were sent (also for length 0).
int TcpSend(ChannelContext& context, ConnectionRecord& record, const std::uint8_t* bytes,
            int length);
// Appends the text of a sockets error (0: the last one) to the log file.
void TcpReportError(ChannelContext& context, int code);

}  // namespace gage
