#pragma once
// Numbers in the configuration files, read and written with "C" rules whatever the process
// locale is (a plug-in must not switch its host's locale to read its own files).

#include <cstdint>
#include <string>
#include <string_view>

namespace gage {

// A number read from a field, and whether the field is that number as written: nothing but
// blanks around it and, for an integer, no more than the 32 bits a field keeps. A blank field
// is plainly 0.
template <typename Number>
struct CNumberReading {
    Number value{};
    bool asWritten = true;
};

// Reads an integer as the C library's atol/atoi read it: leading blanks, an optional sign,
// decimal digits, the rest ignored; no digits gives 0. Digits beyond 32 bits wrap, so every
// value written as a 32-bit unsigned number reads back to the same bits.
CNumberReading<std::int32_t> ReadCIntegerField(std::string_view text);
inline std::int32_t ReadCInteger(std::string_view text) {
    return ReadCIntegerField(text).value;
}

// Reads a real as atof reads it in the "C" locale: leading blanks, an optional sign, then a
// decimal or hexadecimal number with "." as the point, "inf" or "nan"; the rest is ignored and
// no number gives 0.0. Overflow gives an infinity, underflow 0.0.
CNumberReading<double> ReadCRealField(std::string_view text);
inline double ReadCReal(std::string_view text) {
    return ReadCRealField(text).value;
}

// Writes a real as "%.7g" writes it in the "C" locale (seven significant digits, period).
std::string FormatCReal(double value);

}  // namespace gage
