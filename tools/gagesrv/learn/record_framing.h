#pragma once
// Finding where the records of captured traffic begin and end: a terminator that recurs (CR LF,
// CR, LF, ETX), with a start byte (STX) where every record has one, or for binary gages a fixed
// length whose byte columns show a constant marker and varying value bytes.

#include <string>
#include <string_view>
#include <vector>

namespace gage::learn {

struct Framing {
    std::string start;     // record start bytes; empty = none
    std::string end;       // terminator bytes; empty = framed by length
    int recordLength = 0;  // whole record, start included; 0 = any length
    bool binary = false;
    std::vector<std::string> bodies;  // complete records between start and terminator
    bool partialFirst = false;        // the first body may be the tail of a record cut off
};

// Text framing by terminator, or (for traffic that is mostly not text) binary framing by length.
// Empty bodies when no complete record is found.
Framing FrameTraffic(std::string_view traffic);

// Whether byte is printable text (or a tab, CR or LF).
bool IsTextByte(unsigned char byte);

}  // namespace gage::learn
