#pragma once
// How gagesrv prints a reading: a line for people, or one JSON object per line for programs.

#include <string>

#include "reading/reading_result.h"

namespace gage::gagesrv {

struct PrintedReading {
    std::string gage;
    long long round = 0;          // counted from 1
    const ReadingResult* result;  // null: the read failed
};

// "NAME: reading 12, channel 1, value 25.0012, code "", literal """
std::string ReadingText(const PrintedReading& reading);
// {"gage":"NAME","round":1,"ok":true,"reading":12,"channel":1,"value":25.0012,"code":"",
//  "literal":""}; a failed read: {"gage":"NAME","round":1,"ok":false}
std::string ReadingJson(const PrintedReading& reading);

// The shortest text that reads back as the same double.
std::string ShortestNumber(double value);
// A JSON string literal. Bytes above 127 are taken as Latin-1, as the library's texts are
// single-byte; control bytes are escaped.
std::string JsonString(const std::string& text);
// Text with control bytes and double quotes shown as the <n> tokens users type.
std::string VisibleText(const std::string& text);

}  // namespace gage::gagesrv
