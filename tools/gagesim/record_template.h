#pragma once
// The record template of the gage simulator: how one reading becomes the bytes a gage sends.
//
// Text is sent as written, except:
//   <n>            the byte n (decimal, 0..255): <2> is STX, <13> CR, <123> a '{'
//   {value:FMT}    the value with a printf format for a double (default %.4f)
//   {abs:FMT}      the absolute value, same formats
//   {sign}         '+' or '-' by the value's sign; {sign: } gives ' ' or '-'
//   {sep:C}        the decimal separator of the numbers that follow (default '.'); sends nothing
//   {channel:FMT}  the channel number with a printf format for an int (default %d)
//   {count:FMT}    the record's number on its channel, counted from 1 (default %d)
//   {int16le:S} {int16be:S} {int32le:S} {int32be:S}
//                  the value times S (default 1), rounded, as a binary integer, low or high
//                  byte first
//   {wide}         the whole record goes out as 16-bit text (each byte, low byte first)
// Example: "<2>{sign}{abs:%08.3f}{sep:,}..." or "{channel:%02d},{value:%+.4f}<13><10>".

#include <string>
#include <string_view>
#include <vector>

namespace gagesim {

struct RecordTemplate {
    struct Piece {
        enum class Kind { Literal, Value, Abs, Sign, Separator, Channel, Count, Binary };
        Kind kind = Kind::Literal;
        std::string text;  // literal bytes, a printf format, a sign character, a separator
        int width = 0;     // Binary: 2 or 4 bytes
        bool bigEndian = false;
        double scale = 1.0;
    };
    std::vector<Piece> pieces;
    bool wide = false;
};

// Parses a template; on a malformed one returns false with a message in error.
bool ParseRecordTemplate(std::string_view text, RecordTemplate& result, std::string& error);

// The bytes of one record.
std::string RenderRecord(const RecordTemplate& recordTemplate, double value, int channel,
                         int count);

}  // namespace gagesim
