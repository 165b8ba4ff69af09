#pragma once
// What ASCII Character Values decides, apart from its window: its 256 rows, the token of a row,
// and the working line it starts from and hands back.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace gage {

class Support;

inline constexpr int kByteValueCount = 256;
inline constexpr std::size_t kPickerLineRoom = 127;  // characters taken from the target edit
inline constexpr std::size_t kByteNameRoom = 31;

// One row per byte value 0 to 255: "<value>\t" and the value's name (string 3000 + value, at
// most 31 characters), or "(undefined)" when there is none.
std::vector<std::string> AsciiPickerRows(Support& support);

// The token a row inserts: its text up to the tab ("<13>").
std::string RowToken(std::string_view row);

// The working line the picker starts from: the first 127 characters of the target's text.
std::string PickerStartLine(std::string_view target);

// What OK writes back into the target: the working line, or nothing when it is empty.
std::optional<std::string> PickerResult(std::string_view working);

}  // namespace gage
