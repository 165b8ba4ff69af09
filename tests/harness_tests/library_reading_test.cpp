// A real configuration loaded at start-up, driven only through the entry point: the directory
// commands list what the files hold, and a simulated gage reads end to end.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

#include "loaded_library_fixture.h"
#include "reading/reading_result.h"

namespace gage::harness {
namespace {

// GAGE_2's name is too long, so its row stays free: listing must skip it.
constexpr const char* kConfiguration =
    "[APPLICATION]\r\nNAME=zrngsv32\r\nVERSION=9\r\n"
    "[INTERFACES]\r\nMUX_0=\"Bench\",1,0,9600,8,1,1,1,1024,0,\r\n"
    "[GAGES]\r\n"
    "GAGE_1=\"RandomValue Caliper\",1,1,0,1,SIM-1,-1,1,0,1,4,0,0\r\n"
    "GAGE_2=\"A gage name far longer than thirty-one\",1,1,0,2,,0,1,0,1,3,0,0\r\n"
    "GAGE_3=\"Bench Depth\",1,1,0,3,,0,1,0,1,3,0,0\r\n";

constexpr const char* kDefinitions =
    "[TYPE1]\r\nDESCRIPTION=Simulated interface\r\n"
    "[TYPE1.1]\r\nDESCRIPTION=One value per line\r\nDATATYPE=0\r\nRECEND=<13><10>\r\n"
    "MEASTIMEOUT=200\r\nVALUE1=1,1,0\r\n";

class LibraryReadingTest : public LoadedLibraryTest {
  protected:
    void SetUp() override {
        LoadedLibraryTest::SetUp();
        LocalDir().Write("BRW_GAGE.CFG", kConfiguration);
        SharedDir().Write("BRW_GAGE.DEF", kDefinitions);
        ASSERT_TRUE(Load());
    }

    std::string NameAt(std::intptr_t index) const {
        const std::intptr_t name = Call(4, reinterpret_cast<const char*>(index));
        return name == 0 ? "<none>" : reinterpret_cast<const char*>(name);
    }
};

TEST_F(LibraryReadingTest, DirectoryCommandsListTheNamedGagesOfTheFile) {
    EXPECT_EQ(Call(5), 2);
    EXPECT_EQ(NameAt(0), "RandomValue Caliper");
    EXPECT_EQ(NameAt(1), "Bench Depth");
    EXPECT_EQ(NameAt(2), "<none>");
    EXPECT_EQ(Call(9, "BENCH DEPTH"), 1);
    EXPECT_EQ(Call(9, "A gage name far longer than thirty-one"), 0);
}

TEST_F(LibraryReadingTest, SimulatedGageReadsThroughTheEntryPoint) {
    const std::intptr_t block = Call(8, "randomvalue caliper");
    ASSERT_NE(block, 0);
    ReadingResult result;
    std::memcpy(&result, reinterpret_cast<const void*>(block), sizeof result);
    EXPECT_TRUE(std::isfinite(result.Value));
    EXPECT_LT(std::fabs(result.Value), 10.0);
    // Precision 4: the value carries at most four decimals.
    EXPECT_NEAR(result.Value * 1e4, std::round(result.Value * 1e4), 1e-6);

    const std::intptr_t value = Call(11, "RandomValue Caliper");
    ASSERT_NE(value, 0);
    double read = 0;
    std::memcpy(&read, reinterpret_cast<const void*>(value), sizeof read);
    EXPECT_TRUE(std::isfinite(read));
    EXPECT_LT(std::fabs(read), 10.0);

    const std::intptr_t none = Call(11, "No such gage");
    ASSERT_NE(none, 0);
    std::uint64_t bits = 0;
    std::memcpy(&bits, reinterpret_cast<const void*>(none), sizeof bits);
    EXPECT_EQ(bits, kNoValueBits);
}

TEST_F(LibraryReadingTest, GageOnAClosedPortDoesNotRead) {
    EXPECT_EQ(Call(8, "Bench Depth"), 0);
    EXPECT_EQ(Call(14, "Bench Depth"), 0);
    EXPECT_EQ(Call(16, ""), 1);  // subgroup commands answer 1 whatever happened
    EXPECT_EQ(Call(13), 1);
}

}  // namespace
}  // namespace gage::harness
