// A real configuration loaded at start-up, driven only through the entry point as a host drives
// it: the entry is found by name (and by ordinal on Windows) and a simulated gage reads end to end
// into a result block on the host's alignment. In a 32-bit Windows host the entry at ordinal 100
// is also called the way such a host calls it (arguments pushed, callee removes them, a stack
// aligned to 4 bytes only), with the 32-bit result taken from the register and used as a pointer.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "loaded_library_fixture.h"
#include "reading/reading_result.h"

namespace gage::harness {
namespace {

constexpr const char* kDefinitions =
    "[TYPE1]\r\nDESCRIPTION=Simulated interface\r\n"
    "[TYPE1.1]\r\nDESCRIPTION=One value per line\r\nDATATYPE=0\r\nRECEND=<13><10>\r\n"
    "MEASTIMEOUT=200\r\nVALUE1=1,1,0\r\nREADING=1,1,0\r\nCODE=1,1,0\r\nLITERAL=1,1,0\r\n";

// The block at address (command 8's answer) holds code, literal and value taken from the one
// number the simulated gage sends.
void ExpectConsistentBlock(std::uintptr_t address) {
    ASSERT_NE(address, 0u);
    ReadingResult block;
    std::memcpy(&block, reinterpret_cast<const void*>(address), sizeof block);
    // Copied out: the packed fields cannot be bound to references, as the assertions would.
    const double value = block.Value;
    const std::string literal(block.Literal, strnlen(block.Literal, sizeof block.Literal));
    ASSERT_FALSE(literal.empty());
    EXPECT_EQ(std::string(block.Code, strnlen(block.Code, sizeof block.Code)), literal);
    EXPECT_EQ(value, std::strtod(literal.c_str(), nullptr)) << literal;
    // Precision 4 from the configuration: the value carries at most four decimals.
    EXPECT_NEAR(value * 1e4, std::round(value * 1e4), 1e-6);
}

class LibraryReadingTest : public LoadedLibraryTest {
  protected:
    void SetUp() override {
        LocalDir().Write("BRW_GAGE.CFG", kRandomCaliperConfiguration);
        SharedDir().Write("BRW_GAGE.DEF", kDefinitions);
        ASSERT_TRUE(Load());
    }
};

// The entry found by name is the one at ordinal 100 and passes the interface version on; without
// a window system no dialog opens.
TEST_F(LibraryReadingTest, SimulatedGageReadsThroughTheEntryFoundByNameOrOrdinal) {
    const auto entry = Library().EntryByName();
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(Library().EntryByOrdinal(), host::PlatformHasExportOrdinals() ? entry : nullptr);
    EXPECT_EQ(entry(nullptr, 2, 0, nullptr), 0);  // the version reaches the engine
#if !defined(_WIN32)
    for (const std::int32_t command : {3, 6, 7, 15}) {
        EXPECT_EQ(Call(command), 0) << "command " << command;
    }
#endif
    const std::intptr_t block = Call(8, "RandomValue Caliper");
    // The double at byte 4 stays on its 4-byte boundary only if the block starts on one.
    EXPECT_EQ(block % 8, 0);
    ExpectConsistentBlock(static_cast<std::uintptr_t>(block));
}

#if defined(_WIN32) && defined(__i386__)

struct StdcallOutcome {
    std::uint32_t result = 0;     // EAX
    std::int32_t stackDrift = 0;  // bytes the stack pointer moved across the call
};

// Calls entry as a 32-bit host does: four 32-bit arguments pushed right to left onto a stack
// aligned to 4 bytes only, the callee removing them; measures the stack pointer around it.
StdcallOutcome CallAsHost(ZrngsvInterfaceFunction entry, std::int32_t command,
                          const char* argument) {
    struct Frame {
        ZrngsvInterfaceFunction entry;
        std::uint32_t window, version, command, argument;
    } frame{entry, 0, 1, static_cast<std::uint32_t>(command),
            static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(argument))};
    StdcallOutcome outcome;
    Frame* frameAddress = &frame;
    asm volatile(
        "movl %%esp, %%esi\n\t"
        "andl $-16, %%esp\n\t"
        "subl $4, %%esp\n\t"
        "movl %%esp, %%edi\n\t"
        "pushl 16(%%edx)\n\t"
        "pushl 12(%%edx)\n\t"
        "pushl 8(%%edx)\n\t"
        "pushl 4(%%edx)\n\t"
        "call *(%%edx)\n\t"
        "movl %%esp, %%ecx\n\t"
        "subl %%edi, %%ecx\n\t"
        "movl %%esi, %%esp\n\t"
        : "=a"(outcome.result), "=c"(outcome.stackDrift), "+d"(frameAddress)
        :
        : "esi", "edi", "memory", "cc");
    return outcome;
}

TEST_F(LibraryReadingTest, StdcallEntryAtOrdinal100RemovesItsArgumentsAndAnswersInEax) {
    const ZrngsvInterfaceFunction entry = Library().EntryByOrdinal();
    ASSERT_NE(entry, nullptr);

    const StdcallOutcome alive = CallAsHost(entry, 0, nullptr);
    EXPECT_EQ(alive.stackDrift, 0);
    EXPECT_EQ(alive.result, 1u);

    const StdcallOutcome name = CallAsHost(entry, 4, nullptr);  // index 0 in the pointer's place
    EXPECT_EQ(name.stackDrift, 0);
    ASSERT_NE(name.result, 0u);
    EXPECT_STREQ(reinterpret_cast<const char*>(static_cast<std::uintptr_t>(name.result)),
                 "RandomValue Caliper");

    const StdcallOutcome read = CallAsHost(entry, 8, "RandomValue Caliper");
    EXPECT_EQ(read.stackDrift, 0);
    ExpectConsistentBlock(read.result);
}

#endif

}  // namespace
}  // namespace gage::harness
