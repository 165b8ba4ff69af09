// Fixed-size text fields take any input without overflowing: every assignment is cut to fit and
// stays terminated, and case-insensitive comparison agrees with itself.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "support/fixed_string.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    gage::FixedString<32> name(text);
    gage::FixedString<64> longer(text);
    if (name.size() > name.max_length() || name.c_str()[name.size()] != '\0') {
        std::abort();
    }
    // Both copies hold the same text up to the first zero byte or the shorter capacity.
    if (std::strncmp(name.c_str(), longer.c_str(), name.max_length()) != 0) {
        std::abort();
    }
    if (!name.EqualsIgnoreCase(name.view()) || !gage::EqualsIgnoreCase(longer, longer.view())) {
        std::abort();
    }
    char buffer[16];
    const std::size_t copied = gage::CopyTruncated(buffer, sizeof buffer, text);
    if (copied >= sizeof buffer || buffer[copied] != '\0') {
        std::abort();
    }
    return 0;
}
