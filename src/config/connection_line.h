#pragma once
// The MUX_<i> lines of BRW_GAGE.CFG [INTERFACES]: one communication source each,
// "name",type,port,baud|octet1,databits|octet2,stopbits|octet3,parity|octet4,flow,buffer,kind,host

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "config/connection_record.h"
#include "config/line_report.h"
#include "config/serial_port_map.h"

namespace gage {

inline constexpr std::int32_t kMaxBufferSize = 1024;
inline constexpr std::size_t kMaxHostNameLength = 253;  // longest DNS name

// Why a line fills its row or leaves it empty.
enum class ConnectionLineStatus {
    Accepted,
    TooFewFields,       // fewer than the nine mandatory fields
    SerialPortTooHigh,  // serial port number above 64
    TcpPortZero,        // the low 16 bits of the port number are 0
    HostNameTooLong,    // longer than a DNS name can be
    AddressUnresolved,  // not an address, or the name did not resolve
};

// Resolves a host name or dotted address to an IPv4 address in network byte order; kInaddrNone
// when it cannot. Empty: dotted addresses only.
using HostResolver = std::function<std::uint32_t(const char* host)>;

// Fills row (which must be cleared) from line. When the line is not accepted the row is cleared
// again. A report, when given, is told why and what was not taken as written.
ConnectionLineStatus ParseConnectionLine(std::string_view line, const HostResolver& resolveHost,
                                         ConnectionRecord& row, LineReport* report = nullptr);

// The line that writes row back.
std::string FormatConnectionLine(const ConnectionRecord& row);

}  // namespace gage
