#pragma once
// Built-in number operations: rounding to decimal places, the digit count for showing a value,
// and the locale-independent number text they and the edit filter rely on. A plug-in must not
// depend on its host's locale, so nothing here goes through printf or strtod.

#include <optional>
#include <string>
#include <string_view>

namespace gage::builtin {

// MathRound: value rounded to places digits right of the decimal point, halves away from zero,
// decided on the value's 15-significant-digit decimal form, so that 2.675 rounds to 2.68 and
// 1.005 to 1.01 although their binary values lie just below. Negative places round to tens,
// hundreds, ... A value that needs no rounding, or is not finite, comes back unchanged; a result
// of zero is +0.
double RoundToPlaces(double value, int places);

// DbSignificantDigits: the fewest significant digits n (1 to 15) for which the "%.*g" text of
// value with n equals its "%.15g" text, so "%+.*g" with n shows the value without noise digits
// and without an exponent that the 15-digit form does not have. 1 for NaN and infinities.
int SignificantDigits(double value);

// The "%.*g" text of value in the "C" locale (precision 1 to 17).
std::string FormatGeneral(double value, int precision);

// A decimal number text ("-12.5", "3,25", "1e-3"): '.' or ',' as the decimal point, surrounding
// blanks ignored. None when the text is not wholly a number.
std::optional<double> ParseDecimal(std::string_view text);

}  // namespace gage::builtin
