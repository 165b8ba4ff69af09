#include "reading/record_fields.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

#include "reading/gage_number.h"

namespace gage {

namespace {

// The start position as an offset; positions below 1 count as 1, as the loader makes them.
int StartOffset(const FieldSpec& spec) {
    return spec.StartPosition > 0 ? spec.StartPosition - 1 : 0;
}

bool FitsInField(const FieldLocation& location, const FieldSpec& spec) {
    return location.length >= StartOffset(spec) + spec.Length;
}

double BinaryValue(std::string_view bytes, const GageFormat& format, bool lowByteFirst) {
    if (bytes.empty()) {
        return 0.0;
    }
    std::uint32_t word = 0;
    if (bytes.size() <= 4) {
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            const auto byte = static_cast<std::uint32_t>(static_cast<std::uint8_t>(bytes[i]));
            const std::size_t shift = lowByteFirst ? i : bytes.size() - 1 - i;
            word |= byte << (8 * shift);
        }
    }
    const auto signedWord = static_cast<std::int32_t>(word);
    // A scale of 0 (no bits set) divides as the floating-point unit does.
    return static_cast<double>(signedWord) / static_cast<double>(format.Scale) * format.FullScale;
}

double AsciiValue(std::string_view text, const GageFormat& format, char userSeparator) {
    const char formatSeparator = format.DecimalSeparator[0];
    std::array<char, 128> buffer{};
    // The text ends at a zero byte, as a C string in its buffer would.
    text = text.substr(0, std::min<std::size_t>(text.find('\0'), buffer.size() - 1));
    std::size_t out = 0;
    bool numberStarted = false;
    for (const char c : text) {
        if (!numberStarted &&
            ((c >= '0' && c <= '9') || (formatSeparator != '\0' && c == formatSeparator))) {
            numberStarted = true;
        }
        if (!numberStarted && c == ' ') {
            continue;  // blanks between a sign and the digits
        }
        buffer[out++] = (formatSeparator != '\0' && c == formatSeparator) ? userSeparator : c;
    }
    return ParseGageNumber(std::string_view(buffer.data(), out), userSeparator);
}

}  // namespace

std::string_view ValueText(const FieldLocation& location, const FieldSpec& spec) {
    if (!location.found || !FitsInField(location, spec)) {
        return {};
    }
    const int offset = StartOffset(spec);
    const int length = spec.Length > 0 ? spec.Length : location.length - offset;
    return {reinterpret_cast<const char*>(location.start) + offset,
            static_cast<std::size_t>(length)};
}

bool CheckField(const FieldLocation& location, const FieldSpec& spec, bool numeric,
                std::uint16_t dataType, char decimalSeparator) {
    if (!spec.Defined) {
        return true;
    }
    if (!location.found || !FitsInField(location, spec)) {
        return false;
    }
    if (!numeric || dataType == DATATYPE_BINARY_LSB_FIRST ||
        dataType == DATATYPE_BINARY_MSB_FIRST) {
        return true;
    }
    return LooksNumeric(ValueText(location, spec), decimalSeparator);
}

bool LooksNumeric(std::string_view text, char decimalSeparator) {
    if (text.empty()) {
        return false;
    }
    const std::size_t last = text.size() - 1;
    std::size_t i = 0;
    while (i < last && text[i] == ' ') {
        ++i;
    }
    if (i < last && (text[i] == '+' || text[i] == '-')) {
        ++i;
    }
    while (i < last && text[i] == ' ') {
        ++i;
    }
    if (i < last && decimalSeparator != '\0' && text[i] == decimalSeparator) {
        ++i;
    }
    return text[i] >= '0' && text[i] <= '9';
}

double FieldValue(const FieldLocation& location, const FieldSpec& spec, const GageFormat& format,
                  char userSeparator) {
    if (!spec.Defined) {
        return 0.0;
    }
    const std::string_view text = ValueText(location, spec);
    switch (format.DataType) {
        case DATATYPE_ASCII:
        case DATATYPE_ASCII16:
            return AsciiValue(text, format, userSeparator);
        // A binary value is as many bytes as its length says; without a length it is 0.
        case DATATYPE_BINARY_LSB_FIRST:
            return spec.Length == 0 ? 0.0 : BinaryValue(text, format, true);
        case DATATYPE_BINARY_MSB_FIRST:
            return spec.Length == 0 ? 0.0 : BinaryValue(text, format, false);
        default:
            return 0.0;
    }
}

void FieldText(const FieldLocation& location, const FieldSpec& spec, char* destination,
               std::size_t size) {
    if (destination == nullptr || size == 0) {
        return;
    }
    std::memset(destination, 0, size);
    if (!spec.Defined || !location.found) {
        return;
    }
    std::string_view text = ValueText(location, spec);
    text = text.substr(0, std::min(text.size(), size - 1));
    text = text.substr(0, text.find('\0'));
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return;
    }
    text = text.substr(first, text.find_last_not_of(' ') - first + 1);
    std::memcpy(destination, text.data(), text.size());
}

std::uint16_t LowWordOf(double value) {
    const double whole = std::trunc(value);
    if (!std::isfinite(whole) || std::fabs(whole) >= 9.2e18) {
        return 0;
    }
    return static_cast<std::uint16_t>(static_cast<std::uint64_t>(static_cast<std::int64_t>(whole)));
}

}  // namespace gage
