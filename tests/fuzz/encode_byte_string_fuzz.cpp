// Byte-string encoding takes any text: at most 64 bytes come out, the rest of the field is zero,
// and the result agrees with a plain reading of the encoding rules.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "config/byte_string.h"
#include "fuzz_support.h"

namespace {

// The rules read straight: "<" number ">" is a byte, a "<" without a ">" two or more characters
// on is dropped, everything else is itself; the text ends at its first zero character.
std::vector<std::uint8_t> Reference(std::string_view text) {
    text = text.substr(0, text.find('\0'));
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i < text.size() && bytes.size() < 64;) {
        if (text[i] != '<') {
            bytes.push_back(static_cast<std::uint8_t>(text[i++]));
            continue;
        }
        std::size_t close = std::string_view::npos;
        for (std::size_t j = i + 2; j < text.size(); ++j) {
            if (text[j] == '>') {
                close = j;
                break;
            }
        }
        if (close == std::string_view::npos) {
            ++i;
            continue;
        }
        std::size_t k = i + 1;
        while (k < text.size() && (text[k] == ' ' || (text[k] >= '\t' && text[k] <= '\r'))) {
            ++k;
        }
        bool negative = false;
        if (k < text.size() && (text[k] == '-' || text[k] == '+')) {
            negative = text[k++] == '-';
        }
        unsigned value = 0;
        while (k < text.size() && text[k] >= '0' && text[k] <= '9') {
            value = value * 10u + static_cast<unsigned>(text[k++] - '0');
        }
        bytes.push_back(static_cast<std::uint8_t>((negative ? 0u - value : value) & 0xFFu));
        i = close + 1;
    }
    return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    gage::ByteString bytes;
    bytes.fill(0x5A);
    const std::uint16_t count = gage::EncodeByteString(text, bytes);
    gage::fuzz::Check(count <= bytes.size());
    for (std::size_t i = count; i < bytes.size(); ++i) {
        gage::fuzz::Check(bytes[i] == 0);
    }
    gage::fuzz::Check(Reference(text) ==
                      std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + count));
    gage::ByteString field;
    gage::SetByteStringText(field, text);
    gage::fuzz::Check(gage::ByteStringText(field).size() <= 63);
    return 0;
}
