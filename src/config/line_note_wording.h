#pragma once
// The plain words of the configuration check for what a line parser noted about a line.

#include <string>
#include <string_view>

#include "config/configuration_findings.h"
#include "config/line_report.h"

namespace gage {

enum class LineOwner { Connection, Gage };

struct WordedNote {
    FindingEffect effect = FindingEffect::Changed;
    std::string reason;
};

// versionText names the file's VERSION ("VERSION 9"), which decides how many fields a GAGE
// line has.
WordedNote WordLineNote(const LineNote& note, LineOwner owner, std::string_view versionText);

}  // namespace gage
