#pragma once
// Learning a gage format from captured traffic: framing, field shapes, the format as the format
// dialog would hold it, and the check that the ordinary record parser reads every observed
// record back to the value the learner saw in it.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "config/gage_format_file.h"
#include "gagesrv/learn/field_shapes.h"
#include "gagesrv/learn/record_framing.h"
#include "reading/read_context.h"

namespace gage::learn {

enum class Refusal { None, NoRecords, NoSharedShape };

struct Proposal {
    FormatDialogInput format;   // description, framing and field rows as the dialog holds them
    std::uint16_t options = 0;  // FMT_OPT_* bits besides the combination
    std::string readCommand;    // MEAS_READ: what was sent to ask for records
    int precision = 0;          // for the gage line: the most decimals seen
    Framing framing;
    Shape shape;
};

struct Check {
    int records = 0;     // complete records seen
    int explained = 0;   // read back by the parser to the values seen
    int confidence = 0;  // percent
};

struct LearnOutcome {
    Refusal refusal = Refusal::None;
    Proposal proposal;
    Check check;
};

// The runtime form of the proposed format, as the loader makes it from the written keys.
GageFormat ProposedGageFormat(const Proposal& proposal);

// Learns from traffic; engine lends the parser its channels, settings, support and clock (the
// records are parsed in a connection table of the learner's own). readCommand is what was sent.
LearnOutcome LearnFormat(std::string_view traffic, std::string_view readCommand,
                         ReadContext& engine);

// Byte-string text as the definitions file holds it: printable characters as they are, others
// (and "<") as <n>.
std::string ByteStringFileText(std::string_view bytes);

}  // namespace gage::learn
