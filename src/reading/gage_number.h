#pragma once
// Decimal numbers as gages send them and as condition literals are written, read with the
// user's decimal separator given explicitly: the host's locale is never consulted or changed.

#include <string_view>

namespace gage {

// Reads like the C library's decimal conversion: leading white space, an optional sign, digits
// with at most one decimalSeparator among them, an optional exponent. Conversion stops at the
// first character that does not fit; 0.0 when nothing fits. Out-of-range magnitudes give
// +-HUGE_VAL or 0, as strtod does.
double ParseGageNumber(std::string_view text, char decimalSeparator);

}  // namespace gage
