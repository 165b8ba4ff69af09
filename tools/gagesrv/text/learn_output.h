#pragma once
// How gagesrv learn reports: a summary and the entries as they would be written, for people, or
// one JSON object for programs.

#include <optional>
#include <string>

#include "gagesrv/learn/format_learner.h"
#include "gagesrv/learn/line_settings.h"
#include "gagesrv/learn_write.h"

namespace gage::gagesrv {

struct LearnReport {
    const learn::LearnOutcome& outcome;
    std::optional<learn::LineSetting> lineFound;
    const LearnedEntries* entries = nullptr;  // null when nothing could be previewed
    bool written = false;
};

// What was found, one fact a line.
std::string LearnSummary(const LearnReport& report);
std::string LearnJson(const LearnReport& report);
// {"ok":false,"error":"..."}
std::string LearnFailureJson(const std::string& message);

}  // namespace gage::gagesrv
