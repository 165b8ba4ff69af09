#pragma once
// A measured value as the dialogs show it: "%+.*g" with the digit count the support library
// gives for the value, and the user's decimal separator.

#include <string>

#include "reading/read_context.h"

namespace gage {

std::string ReadingNumberText(ReadContext& engine, double value);

}  // namespace gage
