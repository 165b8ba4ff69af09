#pragma once
// The short text that the configuration dialogs show beside a connection or a gage:
// COM1:9600,n,8,1 for a serial port, host:port or a.b.c.d:port for TCP/IP.

#include <string>
#include <string_view>

#include "config/connection_record.h"

namespace gage {

class Support;

// String resource shown for a serial row without a port.
inline constexpr unsigned kUndefinedPortStringId = 1106;

// undefinedText stands for a serial row without a port (cut to 31 characters).
std::string DescribeConnection(const ConnectionRecord& connection, std::string_view undefinedText);
// The same with the undefined text from the library's string table.
std::string DescribeConnection(Support& support, const ConnectionRecord& connection);
// The connection's name followed by its source text in parentheses: Bench (COM3:9600,n,8,1).
std::string NameAndDescription(Support& support, const ConnectionRecord& connection);

}  // namespace gage
