#pragma once
// TCP/IP connections to serial-to-network converters, over Windows Sockets or POSIX sockets.

#include <cstdint>

#include "channels/channel.h"

namespace gage {

// Starts the socket library (Windows Sockets 2.0); a failure is logged. Returns 1 on success.
int TcpStartup(ChannelContext& context);
// Closes the socket of every TCP/IP connection and stops the socket library.
void TcpShutdown(ChannelContext& context, ConnectionTable& connections);
// A dotted address or a host name to an IPv4 address in network byte order; kInaddrNone when
// it cannot be resolved.
std::uint32_t TcpResolveHost(const char* host);

}  // namespace gage
