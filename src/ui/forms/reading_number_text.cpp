#include "ui/forms/reading_number_text.h"

#include <algorithm>

#include "support/builtin_math.h"

namespace gage {

namespace {

constexpr int kLargestDigitCount = 17;  // more digits than a double holds add nothing

}  // namespace

std::string ReadingNumberText(ReadContext& engine, double value) {
    const int digits = std::clamp(engine.support.DbSignificantDigits(value), 1, kLargestDigitCount);
    std::string text = builtin::FormatGeneral(value, digits);
    if (text.empty() || text.front() != '-') {
        text.insert(text.begin(), '+');
    }
    std::replace(text.begin(), text.end(), '.', engine.settings.DecimalSeparator);
    return text;
}

}  // namespace gage
