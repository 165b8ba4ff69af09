#pragma once
// Adding what gagesrv learn found to the configuration through the ordinary savers: an
// interface type (unless the connection's own is used), the format under a free number with a
// unique description, and a gage line (with a connection line for a device given on the
// command line). The same steps on scratch copies show what would be written.

#include <optional>
#include <string>

#include "config/connection_record.h"
#include "gagesrv/learn/format_learner.h"
#include "gagesrv/learn/line_settings.h"

namespace gage::gagesrv {

struct LearnedSource {
    int connectionIndex = -1;                         // a configured connection; -1 = none
    std::uint16_t connectionType = 0;                 // its interface type
    const ConnectionRecord* newConnection = nullptr;  // line settings of one to add, or null
    int newPortNumber = 0;                   // serial: the COM number that reaches the device
    std::optional<learn::LineSetting> line;  // serial settings found to give clean records
};

struct LearnedEntries {
    int type = 0;
    bool newType = false;
    int format = 0;
    int connectionIndex = -1;  // -1: no gage line (the device has no COM number)
    bool newConnection = false;
    std::string gageName;
    std::string definitionText;     // the sections as the definitions file now holds them
    std::string configurationText;  // the lines added to the configuration
};

// Writes into the files at the paths. False, with the reason in error and nothing written, when
// the configuration exists but is not a gage configuration or a file cannot be written.
bool WriteLearned(const learn::Proposal& proposal, const LearnedSource& source,
                  const std::string& definitionsPath, const std::string& configurationPath,
                  LearnedEntries& entries, std::string& error);

// WriteLearned on copies of the files in a scratch directory: what a write would add.
bool PreviewLearned(const learn::Proposal& proposal, const LearnedSource& source,
                    const std::string& definitionsPath, const std::string& configurationPath,
                    LearnedEntries& entries, std::string& error);

}  // namespace gage::gagesrv
