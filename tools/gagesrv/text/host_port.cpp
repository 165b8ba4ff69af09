#include "gagesrv/text/host_port.h"

#include <charconv>

namespace gage::gagesrv {

std::optional<HostPort> ParseHostPort(const std::string& text) {
    const std::size_t colon = text.rfind(':');
    if (colon == std::string::npos || colon == 0) {
        return std::nullopt;
    }
    int port = 0;
    const char* const end = text.c_str() + text.size();
    const auto [stop, error] = std::from_chars(text.c_str() + colon + 1, end, port);
    if (error != std::errc{} || stop != end || port < 1 || port > 65535) {
        return std::nullopt;
    }
    return HostPort{text.substr(0, colon), port};
}

}  // namespace gage::gagesrv
