#pragma once
// Field specifications of a gage format: "field,start,length" with an optional condition such
// as EQ("NRM"), in the file, in the loaded FieldSpec, and as typed in the format dialog's rows.

#include <optional>
#include <string>
#include <string_view>

#include "config/gage_record.h"

namespace gage {

// Parses a field spec for use. Returns 1 and marks spec defined when it is accepted; 0 (spec
// unchanged) for an empty text, or for field number 0 when the format has a separator
// (noSeparator false). A start position of 0 becomes 1; a condition of 24 or more characters is
// dropped while the field stays defined.
int ParseFieldSpec(std::string_view text, FieldSpec& spec, bool noSeparator);

// Parses a field spec for editing: the three numbers exactly as written and the condition,
// defined left at 0. An empty text leaves spec empty.
void ParseFieldSpecText(std::string_view text, FieldSpec& spec);

// The five controls of one field row of the format dialog, as typed.
struct FieldRowInput {
    std::string fieldNumber;
    std::string startPosition;
    std::string length;
    std::string op;  // EQ, NE, LT, LE, GT, GE or empty
    std::string literal;
};

// The text to store for a row, or nothing when the row specifies no field (field number below 1
// and start position or length below 1). The numbers are read from their first three characters,
// the operator from three and the literal from fifteen.
std::optional<std::string> FormatFieldSpec(const FieldRowInput& row);

// Operator and literal of a stored condition (EQ("NRM") gives EQ and NRM), for the dialog's
// row: the text before the first "(" and, when the rest begins with a double quote, the text up
// to the next one.
struct ConditionParts {
    std::string op;
    std::string literal;
};
ConditionParts SplitCondition(std::string_view condition);

}  // namespace gage
