#pragma once
// The time base of the reading engine: a 32-bit millisecond tick that wraps like the system tick
// count, and the ways the engine may pass time without spinning. Tests inject their own clock to
// make waits instant and to put the tick near its wrap.

#include <cstdint>

#include "config/connection_record.h"

namespace gage {

class EngineClock {
  public:
    virtual ~EngineClock() = default;
    // Milliseconds since some start, modulo 2^32.
    virtual std::uint32_t Now() = 0;
    // Blocks the calling thread for about milliseconds (never processes window messages).
    virtual void Sleep(std::uint32_t milliseconds) = 0;
    // Blocks until the connection's port or socket has data to read, or milliseconds pass.
    // Returns true when it woke for data (or cannot tell), false on time-out.
    virtual bool WaitReadable(const ConnectionRecord& record, std::uint32_t milliseconds) = 0;
};

// The clock of the running system (monotonic tick; waits on the port or socket).
EngineClock& SystemEngineClock();

// Milliseconds from start to now on the wrapping tick: the signed 32-bit difference, as an
// absolute value, so a wrap between the two readings does no harm.
inline std::uint32_t TicksElapsed(std::uint32_t start, std::uint32_t now) {
    const auto difference = static_cast<std::int32_t>(now - start);
    return difference < 0 ? static_cast<std::uint32_t>(-static_cast<std::int64_t>(difference))
                          : static_cast<std::uint32_t>(difference);
}

// Whether now has reached deadline on the wrapping tick (deadlines lie less than 2^31 ms ahead).
inline bool TickReached(std::uint32_t now, std::uint32_t deadline) {
    return static_cast<std::int32_t>(now - deadline) >= 0;
}

// Milliseconds from now until deadline, 0 once it is reached.
inline std::uint32_t TicksUntil(std::uint32_t now, std::uint32_t deadline) {
    return TickReached(now, deadline) ? 0u : deadline - now;
}

}  // namespace gage
