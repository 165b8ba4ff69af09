#pragma once
// The record parser: frames the first complete record in a connection's receive buffer, decodes
// and checks its fields, computes the reading and removes the record from the buffer.

#include <cstdint>

#include "config/gage_record.h"
#include "reading/read_context.h"
#include "reading/reading_result.h"
#include "support/window_handle.h"

namespace gage {

// Where a parse puts its results. The raw copy is optional: when copyBuffer and copyLength are
// both given, each parse copies up to copyMaximum bytes of the receive buffer there.
struct ParseOutput {
    ReadingResult& result;
    double valueA = 0.0;  // after gain, zero, precision and absolute value
    double valueB = 0.0;
    std::uint8_t* copyBuffer = nullptr;
    std::uint16_t* copyLength = nullptr;
    std::uint16_t copyMaximum = 0;
};

inline constexpr int kNotFound = -1;

// Position of the first occurrence of pattern in bytes, or kNotFound (also for an empty
// pattern or a count shorter than it).
int FindBytes(const std::uint8_t* bytes, int count, const std::uint8_t* pattern, int patternLength);

// One parse of the gage's connection buffer. Returns 1 when the record found is a valid reading,
// else 0. owner is used only to send the read command when the gage asks for it.
int ParseRecord(ReadContext& context, WindowHandle owner, const GageRecord& gage,
                ParseOutput& output, unsigned options);

}  // namespace gage
