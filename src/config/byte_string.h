#pragma once
// Byte strings of the format definitions (separator, record start and end, request sequence):
// text in which "<n>" stands for the byte of decimal value n and every other character for
// itself, so <13><10> is a carriage return and a line feed.

#include <cstdint>
#include <string_view>

#include "config/gage_record.h"

namespace gage {

// Encodes text into destination (the bytes after the encoded ones are zeroed) and returns the
// number of bytes produced. A "<" without a ">" at least two characters later is dropped; the
// number inside the brackets is read like atoi (so <CR> is the byte 0) and taken modulo 256.
// Bytes beyond the 64 that a byte string holds are cut off.
std::uint16_t EncodeByteString(std::string_view text, ByteString& destination);

}  // namespace gage

namespace gage {

// In the editing form of a format the byte-string fields hold their text as written in the file
// (63 characters at most, zero-terminated) instead of the encoded bytes.
std::string_view ByteStringText(const ByteString& field);
void SetByteStringText(ByteString& field, std::string_view text);

}  // namespace gage
