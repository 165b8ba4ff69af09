#include "reading/gage_number.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstddef>

namespace gage {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

}  // namespace

double ParseGageNumber(std::string_view text, char decimalSeparator) {
    // Digits beyond this carry no precision a double can hold; they still count for the
    // magnitude, which the exponent below keeps.
    constexpr std::size_t kMaxDigits = 40;
    std::array<char, 96> normal{};
    std::size_t out = 0;
    std::size_t i = 0;
    while (i < text.size() && IsSpace(text[i])) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    long long exponentShift = 0;  // digits dropped before the point, or kept after it
    std::size_t digits = 0;
    bool anyDigit = false;
    bool leading = true;  // still in leading zeros
    // Before the point a digit that finds no room raises the magnitude; after it every digit
    // taken, and every leading zero, lowers it.
    const auto takeDigits = [&](bool afterPoint) {
        for (; i < text.size() && IsDigit(text[i]); ++i) {
            anyDigit = true;
            if (leading && text[i] == '0') {
                exponentShift -= afterPoint ? 1 : 0;
                continue;
            }
            leading = false;
            if (digits < kMaxDigits) {
                normal[out++] = text[i];
                ++digits;
                exponentShift -= afterPoint ? 1 : 0;
            } else if (!afterPoint) {
                ++exponentShift;
            }
        }
    };
    takeDigits(false);
    if (decimalSeparator != '\0' && i < text.size() && text[i] == decimalSeparator) {
        ++i;
        takeDigits(true);
    }
    if (!anyDigit) {
        return 0.0;
    }
    if (digits == 0) {
        return negative ? -0.0 : 0.0;
    }
    long long exponent = 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        bool exponentNegative = false;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
            exponentNegative = text[j] == '-';
            ++j;
        }
        if (j < text.size() && IsDigit(text[j])) {
            while (j < text.size() && IsDigit(text[j])) {
                if (exponent < 100000) {
                    exponent = exponent * 10 + (text[j] - '0');
                }
                ++j;
            }
            if (exponentNegative) {
                exponent = -exponent;
            }
        }
    }
    exponent += exponentShift;
    if (exponent > 100000) {
        exponent = 100000;
    } else if (exponent < -100000) {
        exponent = -100000;
    }
    normal[out++] = 'e';
    const auto written = std::to_chars(normal.data() + out, normal.data() + normal.size(),
                                       static_cast<long long>(exponent));
    double value = 0.0;
    const auto parsed = std::from_chars(normal.data(), written.ptr, value);
    if (parsed.ec == std::errc::result_out_of_range) {
        // Too large gives HUGE_VAL; too small underflows to zero.
        value = exponent > 0 ? HUGE_VAL : 0.0;
    }
    return negative ? -value : value;
}

}  // namespace gage
