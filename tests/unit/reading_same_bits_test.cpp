// Every build reads the same doubles, bit for bit: 32-bit and 64-bit Windows and Linux. A fixed
// set of records goes through the parser with gain, zero, precision and absolute value, and a
// seeded simulated gage gives its first values; each is compared by its bit pattern, so excess
// precision or another rounding of any step shows as a failure, not as a tolerance.

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <cstdio>
#include <string>

#include "reading/read_cycle.h"
#include "reading/record_parser.h"
#include "unit/reading_test_support.h"

namespace gage {
namespace {

using testing_support::EngineFixture;
using testing_support::SetBytes;
using testing_support::Spec;

std::string Hex(double value) {
    char text[24];
    std::snprintf(text, sizeof text, "%016llx",
                  static_cast<unsigned long long>(std::bit_cast<std::uint64_t>(value)));
    return text;
}

struct RecordCase {
    const char* record;  // "A" or "A;B"
    double gain;
    double zero;
    int precision;
    bool absolute;
    int combination;  // of A and B; 0 when the record has A only
    const char* bits;
};

// Products and differences whose double rounding differs from one rounding of an 80-bit
// intermediate, and rounding to places near a half.
constexpr RecordCase kRecords[] = {
    {"12.345", 0.7, 0.7, 15, false, 0, "401fc4189374bc6b"},
    {"3.3", 1.1, 3.14159, 15, false, 0, "3fdf421c044284e0"},
    {"-0.0071", 25.4, 0.1, 15, true, 0, "3fd1f1172ef0ae54"},
    {"12.345", 1.0000001, 12.5, 15, false, 0, "bfc3d6ffe25f1640"},
    {"12.345", 2.54, 3.14159, 15, false, 0, "403c36f73c0c1fc9"},
    {"3.3", 0.3937007874015748, 0.7, 15, false, 0, "3fe32cbfe632cbfe"},
    {"12.345", 1.0000001, 12.5, 7, false, 0, "bfc3d7002c75a9d0"},
    {"250.125", 1.0, 0.0, 2, false, 0, "406f4428f5c28f5c"},
    {"-47.62", 2.54, 0.0, 3, true, 0, "405e3d1eb851eb85"},
    {"9.87654321", 1.3, 0.001, 4, false, 0, "4029ad4fdf3b645a"},
    {"12.345;3.3", 1.1, 0.1, 15, false, 4, "4021026e978d4fe0"},
    {"12.345;3.3", 0.7, 0.0, 15, false, 3, "40195374bc6a7efb"},
};

TEST(SameBitsTest, RecordsThroughTheParser) {
    for (const RecordCase& row : kRecords) {
        EngineFixture engine;
        GageRecord gage;
        gage.Name = "Caliper";
        gage.InterfaceTypeNumber = 1;
        gage.Gain = row.gain;
        gage.Zero = row.zero;
        gage.Precision = row.precision;
        gage.Flags = row.absolute ? GAGE_FLAG_ABSOLUTE : 0u;
        SetBytes(gage.Format.RecordEnd, gage.Format.RecordEndLength, "<13><10>");
        SetBytes(gage.Format.Separator, gage.Format.SeparatorLength, ";");
        gage.Format.ValueAField = Spec(1, 1, 0);
        if (row.combination != 0) {
            gage.Format.ValueBField = Spec(2, 1, 0);
            gage.Format.Options =
                static_cast<std::uint16_t>(row.combination << FMT_OPT_COMBINATION_SHIFT);
        }
        engine.Hold(0, std::string(row.record) + "\r\n");
        ReadingResult result{};
        ParseOutput output{result};
        ASSERT_EQ(ParseRecord(engine.context, nullptr, gage, output, 0), 1) << row.record;
        EXPECT_EQ(Hex(ValueOf(result)), row.bits)
            << row.record << " gain " << row.gain << " zero " << row.zero;
    }
}

TEST(SameBitsTest, SeededSimulatedGage) {
    EngineFixture engine;
    engine.channels.random.Seed(20240514);
    // The deviates themselves: the logarithm, division and square root of the polar method.
    const char* const deviates[] = {"3fc9146f19d822ee", "3fe2ce4d7d65d55a", "bff2303189a0cdae",
                                    "3fec4f22904caaba", "bfed291d84b7e21e", "3fff42855bb5e19f"};
    for (const char* const bits : deviates) {
        EXPECT_EQ(Hex(NormalDeviate(engine.channels)), bits);
    }
    // Then a simulated gage read through the whole cycle, with a gain and a zero.
    GageRecord gage;
    gage.Name = "RandomValue Bore";
    gage.InterfaceTypeNumber = 1;
    gage.Gain = 1.3;
    gage.Zero = 0.001;
    gage.Precision = 15;
    gage.Format.ReadTimeout = 200;
    SetBytes(gage.Format.RecordEnd, gage.Format.RecordEndLength, "<13><10>");
    gage.Format.ValueAField = Spec(1, 1, 0);
    const char* const readings[] = {"bfeb6be37de939eb", "3ff4c7a398201cd7", "bfb1a0cf1800a7c6",
                                    "3ffe8c2a454de7eb"};
    for (const char* const bits : readings) {
        ReadingResult result{};
        ParseOutput output{result};
        ASSERT_EQ(ReadGage(engine.context, nullptr, gage, output, 0), 1);
        EXPECT_EQ(Hex(ValueOf(result)), bits);
    }
}

}  // namespace
}  // namespace gage
