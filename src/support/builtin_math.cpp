#include "support/builtin_math.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <system_error>

namespace gage::builtin {

namespace {

constexpr int kSignificantDigits = 15;

}  // namespace

std::string FormatGeneral(double value, int precision) {
    std::array<char, 64> text{};
    const auto [end, error] = std::to_chars(text.data(), text.data() + text.size(), value,
                                            std::chars_format::general, precision);
    if (error != std::errc()) {
        return {};
    }
    return std::string(text.data(), end);
}

double RoundToPlaces(double value, int places) {
    if (!std::isfinite(value) || value == 0.0) {
        return value;
    }
    // d.dddddddddddddde±X: 15 significant digits and the decimal exponent of the first one.
    std::array<char, 64> text{};
    const double magnitude = std::fabs(value);
    const auto [end, error] = std::to_chars(text.data(), text.data() + text.size(), magnitude,
                                            std::chars_format::scientific, kSignificantDigits - 1);
    if (error != std::errc()) {
        return value;
    }
    std::array<int, kSignificantDigits> digits{};
    std::size_t count = 0;
    const char* p = text.data();
    for (; p < end && *p != 'e' && count < digits.size(); ++p) {
        if (*p >= '0' && *p <= '9') {
            digits[count++] = *p - '0';
        }
    }
    while (p < end && *p != 'e') {
        ++p;
    }
    int exponent = 0;
    if (p >= end ||
        std::from_chars(p + 1 + (p[1] == '+' ? 1 : 0), end, exponent).ec != std::errc()) {
        return value;
    }
    // Digit k weighs 10^(exponent - k); those down to 10^-places are kept.
    const long long keep = static_cast<long long>(exponent) + places + 1;
    if (keep >= static_cast<long long>(count)) {
        return value;  // already has no more places than asked for
    }
    if (keep < 0) {
        return 0.0;
    }
    std::int64_t kept = 0;
    for (long long k = 0; k < keep; ++k) {
        kept = kept * 10 + digits[static_cast<std::size_t>(k)];
    }
    if (digits[static_cast<std::size_t>(keep)] >= 5) {
        ++kept;  // half or more of the last kept place: away from zero
    }
    if (kept == 0) {
        return 0.0;
    }
    // kept × 10^-places, converted once from its decimal text to the nearest double.
    std::string decimal =
        std::to_string(kept) + "e" + std::to_string(-static_cast<long long>(places));
    double rounded = 0.0;
    const auto parsed = std::from_chars(decimal.data(), decimal.data() + decimal.size(), rounded);
    if (parsed.ec != std::errc()) {
        return value;
    }
    return value < 0 ? -rounded : rounded;
}

int SignificantDigits(double value) {
    if (!std::isfinite(value)) {
        return 1;
    }
    const std::string full = FormatGeneral(value, kSignificantDigits);
    for (int digits = 1; digits < kSignificantDigits; ++digits) {
        if (FormatGeneral(value, digits) == full) {
            return digits;
        }
    }
    return kSignificantDigits;
}

std::optional<double> ParseDecimal(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);  // from_chars takes a minus only
    }
    if (text.empty() || text.size() > 64 || text.front() == '+') {
        return std::nullopt;
    }
    std::string normal(text);
    for (char& c : normal) {
        if (c == ',') {
            c = '.';
        }
    }
    double value = 0.0;
    const char* first = normal.data();
    const char* last = normal.data() + normal.size();
    const auto [end, error] = std::from_chars(first, last, value, std::chars_format::general);
    if (error != std::errc() || end != last) {
        return std::nullopt;
    }
    return value;
}

}  // namespace gage::builtin
