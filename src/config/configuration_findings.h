#pragma once
// What the configuration loader would make of BRW_GAGE.CFG, line by line: every line it would
// skip, every value it would change on the way in, every key it never reads, and lines that load
// but cannot work as written (a format missing from BRW_GAGE.DEF, a connection that is not
// configured, a name used twice). The loader's own line parsers decide, so the explanation
// follows the loader; nothing is opened, sent or written.

#include <string>
#include <vector>

#include "config/connection_line.h"

namespace gage {

enum class FindingEffect {
    Skipped,  // the loader drops the line, or never reads the key
    Changed,  // the loader takes the line, but not every value as written
    Warning,  // taken as written, but it will not work the way it reads
};

struct ConfigurationFinding {
    FindingEffect effect = FindingEffect::Warning;
    std::string file;
    std::string section;  // empty: the file as a whole
    std::string key;      // empty: the section (or file) as a whole
    int line = 0;         // line of the key or section in the file; 0 when it has none
    std::string reason;   // plain words
};

struct ConfigurationCheck {
    std::string error;  // not empty: the check could not run, and this says why
    std::vector<ConfigurationFinding> findings;
    int connectionsLoaded = 0;  // rows the loader would fill
    int gagesLoaded = 0;        // named gages, reachable by the host

    int SkippedLines() const;
    int ChangedLines() const;  // lines with a changed value that are not skipped as well
    int Warnings() const;
};

// Checks the configuration file at path against the definitions file at definitionsPath.
// resolveHost resolves the host names of TCP/IP lines as the loader would (empty: dotted
// addresses only).
ConfigurationCheck CheckConfiguration(const std::string& path, const std::string& definitionsPath,
                                      const HostResolver& resolveHost);

}  // namespace gage
