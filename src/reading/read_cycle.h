#pragma once
// One read of one gage: the format's measurement commands, the wait for a valid record until
// the read time-out, then the post command and the clearing the format asks for.

#include "config/gage_record.h"
#include "reading/read_context.h"
#include "reading/record_parser.h"
#include "support/window_handle.h"

namespace gage {

// The longest the drain after a valid reading (FMT_OPT_CLEAR_AFTER) may go on while the gage
// keeps sending: ten quiet times, and at least this.
inline constexpr std::uint32_t kMinimumDrainBoundMs = 2000;

// Reads the gage. Returns 1 for a valid reading, 0 otherwise (also for the first call of a
// format with a stop command, which only starts the measurement). After a time-out the result's
// value is kReadFailureValueBits. options: READ_OPT_*.
int ReadGage(ReadContext& context, WindowHandle owner, GageRecord& gage, ParseOutput& output,
             unsigned options);

}  // namespace gage
