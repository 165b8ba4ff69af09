#pragma once
// Conditions of field specifications: an operator (EQ, NE, LT, LE, GT, GE) and a list of
// literals in parentheses, e.g. NE("MIN","MAX"). Every literal must satisfy the operator.

#include <string_view>

namespace gage {

// value against numeric literals, read with the user's decimal separator.
bool TestNumericCondition(double value, std::string_view condition, char userSeparator);
// text against literals, compared without regard to case.
bool TestTextCondition(const char* text, std::string_view condition);

}  // namespace gage
