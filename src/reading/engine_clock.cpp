#include "reading/engine_clock.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "channels/channel_wait.h"

namespace gage {

namespace {

class SystemClock final : public EngineClock {
  public:
    std::uint32_t Now() override {
        const auto since = std::chrono::steady_clock::now().time_since_epoch();
        const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(since).count();
        return static_cast<std::uint32_t>(static_cast<std::uint64_t>(ms));
    }

    void Sleep(std::uint32_t milliseconds) override {
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    }

    bool WaitReadable(const ConnectionRecord& record, std::uint32_t milliseconds) override {
        const int bounded = static_cast<int>(std::min<std::uint32_t>(milliseconds, 1000u));
        const int woken = ChannelWaitReadable(record, bounded);
        if (woken < 0) {
            // Nothing to wait on: pass the time in a short slice instead.
            Sleep(std::min<std::uint32_t>(milliseconds, 1u));
            return true;
        }
        return woken > 0;
    }
};

}  // namespace

EngineClock& SystemEngineClock() {
    static SystemClock clock;  // stateless
    return clock;
}

}  // namespace gage
