#include "config/ipv4_address.h"

#include <array>
#include <bit>

#include "config/connection_record.h"

namespace gage {
namespace {

int DigitValue(char c, unsigned base) {
    int value = -1;
    if (c >= '0' && c <= '9') {
        value = c - '0';
    } else if (c >= 'a' && c <= 'f') {
        value = c - 'a' + 10;
    } else if (c >= 'A' && c <= 'F') {
        value = c - 'A' + 10;
    }
    return value >= 0 && static_cast<unsigned>(value) < base ? value : -1;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

}  // namespace

std::uint32_t NetworkOrderAddress(std::uint8_t a, std::uint8_t b, std::uint8_t c, std::uint8_t d) {
    const std::array<std::uint8_t, 4> bytes{a, b, c, d};
    return std::bit_cast<std::uint32_t>(bytes);
}

std::uint32_t ParseIPv4Address(std::string_view text) {
    std::array<std::uint32_t, 4> parts{};
    std::size_t partCount = 0;
    std::size_t i = 0;
    while (true) {
        if (i >= text.size() || DigitValue(text[i], 10) < 0) {
            return kInaddrNone;
        }
        unsigned base = 10;
        if (text[i] == '0') {
            base = 8;
            ++i;
            if (i < text.size() && (text[i] == 'x' || text[i] == 'X')) {
                base = 16;
                ++i;
            }
        }
        std::uint64_t value = 0;
        for (int digit = 0; i < text.size() && (digit = DigitValue(text[i], base)) >= 0; ++i) {
            value = value * base + static_cast<unsigned>(digit);
            if (value > 0xFFFFFFFFu) {
                return kInaddrNone;
            }
        }
        if (partCount == parts.size()) {
            return kInaddrNone;
        }
        parts[partCount++] = static_cast<std::uint32_t>(value);
        if (i < text.size() && text[i] == '.') {
            ++i;
            continue;
        }
        break;
    }
    for (; i < text.size(); ++i) {
        if (!IsBlank(text[i])) {
            return kInaddrNone;
        }
    }
    // The last part fills the bytes that the earlier parts leave.
    const std::uint32_t lastLimit = partCount == 1   ? 0xFFFFFFFFu
                                    : partCount == 2 ? 0xFFFFFFu
                                    : partCount == 3 ? 0xFFFFu
                                                     : 0xFFu;
    if (parts[partCount - 1] > lastLimit) {
        return kInaddrNone;
    }
    std::uint32_t host = parts[partCount - 1];
    for (std::size_t p = 0; p + 1 < partCount; ++p) {
        if (parts[p] > 0xFF) {
            return kInaddrNone;
        }
        host |= parts[p] << (8 * (3 - p));
    }
    return NetworkOrderAddress(
        static_cast<std::uint8_t>(host >> 24), static_cast<std::uint8_t>(host >> 16),
        static_cast<std::uint8_t>(host >> 8), static_cast<std::uint8_t>(host));
}

}  // namespace gage
