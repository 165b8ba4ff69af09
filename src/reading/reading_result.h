#pragma once
// The 68-byte block a read hands to the host. Its layout is part of the host ABI.

#include <cstddef>
#include <cstdint>

namespace gage {

#pragma pack(push, 1)
struct ReadingResult {
    std::uint16_t ReadingNumber;  // reading field, cut toward zero, low 16 bits
    std::uint16_t Channel;        // channel field, cut the same way
    double Value;                 // the measurement, or kReadFailureValue after a time-out
    char Code[32];                // defect code text, at most 31 characters
    char Literal[16];             // literal text, at most 15 characters
    std::uint8_t Reserved[8];
};
#pragma pack(pop)

static_assert(sizeof(ReadingResult) == 68);
static_assert(offsetof(ReadingResult, ReadingNumber) == 0);
static_assert(offsetof(ReadingResult, Channel) == 2);
static_assert(offsetof(ReadingResult, Value) == 4);
static_assert(offsetof(ReadingResult, Code) == 12);
static_assert(offsetof(ReadingResult, Literal) == 44);
static_assert(offsetof(ReadingResult, Reserved) == 60);

// Bits of the value stored after a time-out: the single-precision 1.0e-38 widened to double.
inline constexpr std::uint64_t kReadFailureValueBits = 0x380B38FB80000000ull;
// Bits of command 11's answer when no gage matched: the double 1e-38.
inline constexpr std::uint64_t kNoValueBits = 0x380B38FB9DAA78E4ull;

// Read options.
inline constexpr unsigned READ_OPT_POLL = 1;
inline constexpr unsigned READ_OPT_CHANNEL_ONLY = 2;

}  // namespace gage
