// The field scanner and the small text readers take any text: every field lies within the text,
// a scan ends, and text without quotes splits into fields that join back to the text.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "config/c_number_text.h"
#include "config/field_spec.h"
#include "config/field_tokenizer.h"
#include "config/ipv4_address.h"
#include "fuzz_support.h"

namespace {

using gage::fuzz::Check;

bool Within(std::string_view part, std::string_view whole) {
    return part.empty() || (part.data() >= whole.data() &&
                            part.data() + part.size() <= whole.data() + whole.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    // The first byte picks the delimiter (0: none); the rest is the text.
    const char delimiter = static_cast<char>(data[0]);
    const std::string_view delimiters =
        delimiter == '\0' ? std::string_view() : std::string_view(&delimiter, 1);
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::string_view scanned = text.substr(0, text.find('\0'));

    gage::FieldScanner scanner(text);
    std::string joined;
    std::size_t count = 0;
    while (const auto field = scanner.NextField(delimiters)) {
        Check(Within(*field, scanned));
        Check(++count <= scanned.size() + 1);
        if (count > 1) {
            joined += delimiter;
        }
        joined += *field;
    }
    Check(!scanner.NextField(delimiters));
    if (!delimiters.empty() && scanned.find('"') == std::string_view::npos) {
        // Without quotes nothing is dropped but a separator at the very end.
        std::string expected(scanned);
        if (!expected.empty() && expected.back() == delimiter) {
            expected.pop_back();
        }
        Check(joined == expected);
    }

    Check(Within(gage::TrimField(text), text));
    Check(gage::NameFromField(text).size() < 32);

    gage::FieldSpec spec;
    if (gage::ParseFieldSpec(text, spec, delimiter & 1) == 1) {
        Check(spec.Defined == 1 && spec.StartPosition >= 1);
    }
    (void)gage::SplitCondition(text);
    (void)gage::ReadCInteger(text);
    (void)gage::ReadCReal(text);
    (void)gage::ParseIPv4Address(text);
    (void)gage::FormatCReal(gage::ReadCReal(text));
    return 0;
}
