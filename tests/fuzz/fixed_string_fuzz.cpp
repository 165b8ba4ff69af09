// Fixed-size text fields take any input without overflowing: every assignment is cut to fit and
// stays terminated, and case-insensitive comparison agrees with itself.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "fuzz_support.h"
#include "support/fixed_string.h"

using gage::fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    gage::FixedString<32> name(text);
    gage::FixedString<64> longer(text);
    Check(name.size() <= name.max_length() && name.c_str()[name.size()] == '\0');
    // Both copies hold the same text up to the first zero byte or the shorter capacity.
    Check(std::strncmp(name.c_str(), longer.c_str(), name.max_length()) == 0);
    Check(name.EqualsIgnoreCase(name.view()) && gage::EqualsIgnoreCase(longer, longer.view()));
    char buffer[16];
    const std::size_t copied = gage::CopyTruncated(buffer, sizeof buffer, text);
    Check(copied < sizeof buffer && buffer[copied] == '\0');
    return 0;
}
