#include "gagesrv/text/connection_lookup.h"

#include <charconv>
#include <string>
#include <system_error>

#include "reading/text_compare.h"
#include "support/fixed_string.h"

namespace gage::gagesrv {

namespace {

constexpr std::string_view kKeyPrefix = "MUX_";

// The row index of a key "MUX_n" (0 to 63), or -1.
int KeyIndex(std::string_view name) {
    if (name.size() < kKeyPrefix.size() ||
        !EqualsIgnoreCase(name.substr(0, kKeyPrefix.size()), kKeyPrefix)) {
        return -1;
    }
    const std::string_view digits = name.substr(kKeyPrefix.size());
    int index = -1;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), index);
    if (digits.empty() || error != std::errc{} || end != digits.data() + digits.size() ||
        index < 0 || index >= kConnectionCount) {
        return -1;
    }
    return index;
}

}  // namespace

ConnectionRecord* FindConnection(ConnectionTable& connections, std::string_view name) {
    if (name.empty()) {
        return nullptr;
    }
    const std::string wanted(name);
    for (ConnectionRecord& connection : connections) {
        if (!connection.Name.empty() &&
            CompareTextIgnoreCase(connection.Name.c_str(), wanted.c_str()) == 0) {
            return &connection;
        }
    }
    const int index = KeyIndex(name);
    if (index >= 0 && !connections[static_cast<std::size_t>(index)].Name.empty()) {
        return &connections[static_cast<std::size_t>(index)];
    }
    return nullptr;
}

}  // namespace gage::gagesrv
