// Byte-string encoding takes any text: at most 64 bytes come out and the rest of the field is
// zero; the editing form keeps at most 63 characters. (What the bytes are is the unit test's
// table.)

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "config/byte_string.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    gage::ByteString bytes;
    bytes.fill(0x5A);
    const std::uint16_t count = gage::EncodeByteString(text, bytes);
    gage::fuzz::Check(count <= bytes.size());
    for (std::size_t i = count; i < bytes.size(); ++i) {
        gage::fuzz::Check(bytes[i] == 0);
    }
    gage::ByteString field;
    gage::SetByteStringText(field, text);
    gage::fuzz::Check(gage::ByteStringText(field).size() <= 63);
    return 0;
}
