#pragma once
// IPv4 address text to a 32-bit address, the way the sockets library's inet_addr reads it, so
// that the configuration store needs no socket headers.

#include <cstdint>
#include <string_view>

namespace gage {

// Reads "a.b.c.d" (also "a.b.c", "a.b" and "a", the last part filling the remaining bytes);
// each part decimal, octal with a leading 0 or hexadecimal with 0x. Blanks may follow the
// address. Returns the address in network byte order, or kInaddrNone (as inet_addr does for
// "255.255.255.255" too) when the text is not an address.
std::uint32_t ParseIPv4Address(std::string_view text);

// An address given as four octets (a, b, c, d) in network byte order.
std::uint32_t NetworkOrderAddress(std::uint8_t a, std::uint8_t b, std::uint8_t c, std::uint8_t d);

}  // namespace gage
