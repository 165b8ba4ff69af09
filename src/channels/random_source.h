#pragma once
// The uniform source behind the simulated gages: integers 0 to 32767 from a linear congruential
// generator of the classic C run-time kind. It belongs to its owner (no process-wide state) and
// starts from the same seed every time unless reseeded, so simulated runs are reproducible.

#include <cstdint>

namespace gage {

class RandomSource {
  public:
    static constexpr int kMaximum = 32767;

    RandomSource() = default;
    void Seed(std::uint32_t seed) { state_ = seed; }
    // The next integer, uniform over 0..kMaximum.
    int Next() {
        state_ = state_ * 214013u + 2531011u;
        return static_cast<int>((state_ >> 16) & 0x7FFFu);
    }

  private:
    std::uint32_t state_ = 1;
};

}  // namespace gage
