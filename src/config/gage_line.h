#pragma once
// The GAGE_<n> lines of BRW_GAGE.CFG [GAGES], one gage each. Their layout depends on the file's
// VERSION; the writer always writes layout 9:
// "name",type,format,channel,id,serial,minimum,maximum,zero,gain,precision,flags,connection

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "config/gage_record.h"
#include "config/line_report.h"

namespace gage {

inline constexpr int kGageLineVersion = 9;
inline constexpr int kFirstUnknownGageLineVersion = 10;  // and above: no gage is loaded

// Where the fields of one layout lie (0-based); -1 where the layout has no such field and the
// gage takes that field's default.
struct GageLineLayout {
    std::size_t fieldCount;
    int id, serial, minimum, maximum, zero, gain, precision, flags, connection;
};

// The layout of GAGE lines in a file of the given VERSION (10 and above: that of 9, though no
// line of such a file is loaded).
const GageLineLayout& GageLineLayoutFor(int version);

inline constexpr std::int32_t kMaxGagePrecision = 15;

enum class GageLineStatus {
    Accepted,
    TooFewFields,          // a field of the layout is missing
    UnknownVersion,        // VERSION 10 or more
    ConnectionOutOfRange,  // the connection index names no row 0 to 63
};

// Builds gage (from a fresh record) from a line of the given layout version; gage is only
// changed when the line is accepted. A report, when given, is told why and what was not taken
// as written.
GageLineStatus ParseGageLine(std::string_view line, int version, GageRecord& gage,
                             LineReport* report = nullptr);

// The layout-9 line that writes gage back. A serial number that holds a comma or begins with a
// double quote is written in double quotes (without the quotes it held, which no reader keeps).
std::string FormatGageLine(const GageRecord& gage);

}  // namespace gage
