#pragma once
// What the fields of framed records are: the separator between them, and within them the
// number that varies (the value), a small integer that cycles (a multiplexer's channel) and the
// words (a status literal, constant or not), each with its position as a FieldSpec gives it.

#include <optional>
#include <string>
#include <vector>

#include "gagesrv/learn/record_framing.h"

namespace gage::learn {

enum class PartKind { Value, Channel, Literal };

// One located part; positions count from 1 as in a FieldSpec, length 0 = to the end of the
// field.
struct Part {
    PartKind kind = PartKind::Value;
    int fieldNumber = 1;
    int start = 1;
    int length = 0;
    std::string constantText;        // a literal that never changed; empty otherwise
    std::vector<double> numbers;     // Value, Channel: per record
    std::vector<std::string> words;  // Literal: per record
    bool signed_ = false;            // Value: a sign stood before the number
    int decimals = 0;                // Value: most digits seen after the decimal separator
    bool msbFirst = false;           // binary Value: first byte most significant
};

struct Shape {
    std::string separator;  // empty = the whole record is one field
    char decimalSeparator = '.';
    std::vector<Part> parts;           // the value first
    std::vector<std::size_t> records;  // which bodies of the framing the shape covers
};

// The shape the bodies share (a cut-off first body is left out when only it differs), or
// nothing when they do not share one.
std::optional<Shape> FindShape(const Framing& framing);

// The value a numeric text stands for, read with a period or the decimal separator given;
// nothing when the text is not one number.
std::optional<double> ReadNumberText(std::string_view text, char decimalSeparator);

}  // namespace gage::learn
