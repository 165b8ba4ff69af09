#pragma once
// A TCP/IP device given on the command line as HOST:PORT (gagesrv learn --tcp).

#include <optional>
#include <string>

namespace gage::gagesrv {

struct HostPort {
    std::string host;
    int port = 0;  // 1 to 65535
};

// Nothing unless text is a host, a colon and a port number of 1 to 65535 and nothing else; the
// last colon counts, so the host may hold colons of its own.
std::optional<HostPort> ParseHostPort(const std::string& text);

}  // namespace gage::gagesrv
