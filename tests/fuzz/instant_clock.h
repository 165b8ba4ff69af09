#pragma once
// The engine's clock for fuzz targets: time passes only when the engine sleeps or waits, and it
// jumps by the time asked for, so no input can make a target wait for real.

#include <cstdint>

#include "reading/read_context.h"

namespace gage::fuzz {

class InstantClock final : public EngineClock {
  public:
    explicit InstantClock(std::uint32_t start = 0) : now_(start) {}
    std::uint32_t Now() override { return now_; }
    void Sleep(std::uint32_t milliseconds) override { now_ += milliseconds; }
    bool WaitReadable(const ConnectionRecord&, std::uint32_t milliseconds) override {
        now_ += milliseconds;
        return false;
    }

  private:
    std::uint32_t now_;
};

}  // namespace gage::fuzz
