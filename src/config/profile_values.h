#pragma once
// How a stored value reaches the reader: enclosing quotes, the reader's buffer size and the
// integer reading rules of the private-profile functions.

#include <cstddef>
#include <string_view>

namespace gage::profile::detail {

// The value as a reader sees it: cut at an embedded NUL, and without its enclosing quotes when it
// is at least two characters long and begins and ends with the same quote character (' or ").
std::string_view VisibleValue(std::string_view stored);

// A default as the reader uses it: trailing spaces dropped, then treated like a stored value.
std::string_view VisibleDefault(std::string_view defaultValue);

// Copies text into buffer cut to bufferSize - 1 characters and zero-terminated; returns the count.
// A bufferSize of 0 leaves the buffer untouched and returns 0.
std::size_t CopyToBuffer(std::string_view text, char* buffer, std::size_t bufferSize);

// Leading blanks, an optional sign and decimal digits; the rest is ignored and no digits give 0.
// Digits beyond 32 bits wrap, as the system's reader does ("4294967297" reads as 1).
int ParseProfileInt(std::string_view text);

// The reader of integers looks at the value through a buffer of this many characters.
inline constexpr std::size_t kIntegerBufferSize = 30;

}  // namespace gage::profile::detail
