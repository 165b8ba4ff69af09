#include "config/c_number_text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <system_error>

namespace gage {
namespace {

bool IsCSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsHexDigit(char c) {
    return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// Skips blanks and reads an optional sign; returns the position after them.
std::size_t SkipBlanksAndSign(std::string_view text, bool& negative) {
    std::size_t i = 0;
    while (i < text.size() && IsCSpace(text[i])) {
        ++i;
    }
    negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    return i;
}

// from_chars reports values outside the range of double without a value; atof gives an infinity
// for too large and zero for too small ones. The order of magnitude of the text tells which.
bool TextOverflows(std::string_view number, bool hex) {
    const auto isDigit = hex ? IsHexDigit : IsDigit;
    const char exponentLetter = hex ? 'p' : 'e';
    const long digitWeight = hex ? 4 : 1;
    long order = 0;
    std::size_t i = 0;
    bool seenNonZero = false;
    while (i < number.size() && isDigit(number[i])) {
        seenNonZero = seenNonZero || number[i] != '0';
        if (seenNonZero) {
            order += digitWeight;
        }
        ++i;
    }
    if (i < number.size() && number[i] == '.') {
        ++i;
        while (!seenNonZero && i < number.size() && number[i] == '0') {
            order -= digitWeight;
            ++i;
        }
        while (i < number.size() && isDigit(number[i])) {
            ++i;
        }
    }
    if (i < number.size() && (number[i] == exponentLetter || number[i] == exponentLetter - 32)) {
        ++i;
        bool negative = false;
        if (i < number.size() && (number[i] == '+' || number[i] == '-')) {
            negative = number[i] == '-';
            ++i;
        }
        long exponent = 0;
        while (i < number.size() && IsDigit(number[i])) {
            if (exponent < 1000000) {
                exponent = exponent * 10 + (number[i] - '0');
            }
            ++i;
        }
        order += negative ? -exponent : exponent;
    }
    return order > 0;
}

bool OnlyBlanks(std::string_view text) {
    return std::all_of(text.begin(), text.end(), IsCSpace);
}

}  // namespace

CNumberReading<std::int32_t> ReadCIntegerField(std::string_view text) {
    bool negative = false;
    const std::size_t start = SkipBlanksAndSign(text, negative);
    std::size_t i = start;
    std::uint32_t value = 0;
    std::uint64_t magnitude = 0;  // stops growing once past 32 bits
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        value = value * 10u + static_cast<std::uint32_t>(text[i] - '0');
        if (magnitude <= 0xFFFFFFFFull) {
            magnitude = magnitude * 10u + static_cast<std::uint64_t>(text[i] - '0');
        }
    }
    const bool signedWithoutDigits = i == start && start > 0 && !IsCSpace(text[start - 1]);
    const bool fits = magnitude <= (negative ? 0x80000000ull : 0xFFFFFFFFull);
    if (negative) {
        value = 0u - value;
    }
    return {static_cast<std::int32_t>(value),
            !signedWithoutDigits && fits && OnlyBlanks(text.substr(i))};
}

CNumberReading<double> ReadCRealField(std::string_view text) {
    bool negative = false;
    const std::size_t start = SkipBlanksAndSign(text, negative);
    const bool signedText = start > 0 && !IsCSpace(text[start - 1]);
    std::string_view number = text.substr(start);
    bool hex = false;
    if (number.size() > 2 && number[0] == '0' && (number[1] == 'x' || number[1] == 'X') &&
        (IsHexDigit(number[2]) ||
         (number[2] == '.' && number.size() > 3 && IsHexDigit(number[3])))) {
        hex = true;
        number.remove_prefix(2);
    }
    double value = 0.0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value,
                                        hex ? std::chars_format::hex : std::chars_format::general);
    bool asWritten =
        !number.empty() && number[0] != '+' && number[0] != '-' &&
        OnlyBlanks(number.substr(static_cast<std::size_t>(result.ptr - number.data())));
    if (result.ec == std::errc::result_out_of_range) {
        value = TextOverflows(number, hex) ? HUGE_VAL : 0.0;
    } else if (result.ec != std::errc{}) {
        value = 0.0;
        asWritten = !signedText && OnlyBlanks(number);
    }
    return {negative ? -value : value, asWritten};
}

std::string FormatCReal(double value) {
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::general, 7);
    return std::string(buffer.data(), result.ptr);
}

}  // namespace gage
