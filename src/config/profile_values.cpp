#include "config/profile_values.h"

#include <cstdint>
#include <cstring>

namespace gage::profile::detail {

std::string_view VisibleValue(std::string_view stored) {
    const std::size_t nul = stored.find('\0');
    if (nul != std::string_view::npos) {
        stored = stored.substr(0, nul);
    }
    if (stored.size() >= 2 && (stored.front() == '"' || stored.front() == '\'') &&
        stored.back() == stored.front()) {
        stored = stored.substr(1, stored.size() - 2);
    }
    return stored;
}

std::string_view VisibleDefault(std::string_view defaultValue) {
    while (!defaultValue.empty() && defaultValue.back() == ' ') {
        defaultValue.remove_suffix(1);
    }
    return VisibleValue(defaultValue);
}

std::size_t CopyToBuffer(std::string_view text, char* buffer, std::size_t bufferSize) {
    if (buffer == nullptr || bufferSize == 0) {
        return 0;
    }
    const std::size_t count = text.size() < bufferSize - 1 ? text.size() : bufferSize - 1;
    if (count > 0) {
        std::memcpy(buffer, text.data(), count);
    }
    buffer[count] = '\0';
    return count;
}

int ParseProfileInt(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && static_cast<unsigned char>(text[i]) <= ' ' && text[i] != '\0') {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    std::uint32_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10u + static_cast<std::uint32_t>(text[i] - '0');  // wraps modulo 2^32
    }
    if (negative) {
        value = 0u - value;
    }
    return static_cast<int>(value);  // two's complement: 4294967295 reads as -1
}

}  // namespace gage::profile::detail
