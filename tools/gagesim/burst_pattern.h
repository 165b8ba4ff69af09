#pragma once
// What gagesim sends in answer to its burst command: numbered lines, so that whoever watches the
// line can tell a lost, doubled or reordered byte from the text alone. Header-only, so that a
// Windows test can build the same bytes to compare with.

#include <cstddef>
#include <cstdio>
#include <string>

namespace gagesim {

// The first `bytes` bytes of the lines "000000 AAA...A\r\n", "000001 BBB...B\r\n", ... (64 bytes
// each: a six-digit line number, a space, 55 copies of 'A' + line % 26, CR, LF).
inline std::string BurstPattern(std::size_t bytes) {
    std::string out;
    out.reserve(bytes + 64);
    for (unsigned line = 0; out.size() < bytes; ++line) {
        char number[16];
        std::snprintf(number, sizeof number, "%06u ", line % 1000000u);
        out += number;
        out.append(55, static_cast<char>('A' + line % 26));
        out += "\r\n";
    }
    out.resize(bytes);
    return out;
}

}  // namespace gagesim
