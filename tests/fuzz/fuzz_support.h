#pragma once
// What the fuzz targets share: a failed property ends the run as a crash would, scratch files
// that hold an input, and an engine clock that never waits for real.

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "reading/read_context.h"

namespace gage::fuzz {

inline void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// A file of this process under the temporary directory, named after the target.
inline std::string ScratchFile(std::string_view name) {
    return (std::filesystem::temp_directory_path() /
            (std::string(name) + "." + std::to_string(::getpid())))
        .string();
}

inline void WriteBytes(std::ofstream& out, const std::uint8_t* data, std::size_t size) {
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

// Time passes only when the engine sleeps or waits, and it jumps by the time asked for, so no
// input can make a target wait for real.
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
