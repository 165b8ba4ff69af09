#pragma once
// The fields of one framed record: where each lies, whether it holds what its field spec
// asks for, and its value as a number or as text.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "config/gage_record.h"

namespace gage {

// A field's place within the record body; found is false when the record has no such field.
struct FieldLocation {
    bool found = false;
    const std::uint8_t* start = nullptr;
    int length = 0;
};

// The part of the field that spec selects: from its start position (counted from 1) for its
// length (0: to the end of the field). Empty when the location is missing or too short.
std::string_view ValueText(const FieldLocation& location, const FieldSpec& spec);

// Whether the field satisfies its field spec: an undefined spec passes; a defined one needs a
// location long enough for its value text and, for numeric checks of ASCII data, a number there.
bool CheckField(const FieldLocation& location, const FieldSpec& spec, bool numeric,
                std::uint16_t dataType, char decimalSeparator);

// Whether text starts like a number: blanks, a sign, blanks, a decimal separator, then a digit,
// never looking past its last character.
bool LooksNumeric(std::string_view text, char decimalSeparator);

// The field's value by the format's data type; 0.0 for an undefined spec. ASCII numbers use the
// format's decimal separator, converted as the user's (userSeparator) would be.
double FieldValue(const FieldLocation& location, const FieldSpec& spec, const GageFormat& format,
                  char userSeparator);

// Copies the field's value text into destination (size bytes, zero-terminated, at most size - 1
// characters) with leading and trailing spaces removed; empty for an undefined spec or a field
// with no location.
void FieldText(const FieldLocation& location, const FieldSpec& spec, char* destination,
               std::size_t size);

// A double cut toward zero to an integer, low 16 bits; 0 for values with no integer form.
std::uint16_t LowWordOf(double value);

}  // namespace gage
