// The DLL's binary interface as a Windows host meets it: the result block read through the
// host's own declaration of it, and, in a 32-bit host, the entry at ordinal 100 called the way
// such a host calls it (arguments pushed, callee removes them, a stack aligned to 4 bytes only),
// with the 32-bit result taken from the register and used as a pointer.

#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "loaded_library_fixture.h"

namespace gage::harness {
namespace {

// The block as a host declares it: 4-byte packing, the measured value at byte 4.
#pragma pack(push, 4)
struct HostReadingBlock {
    std::uint16_t readingNumber;
    std::uint16_t channel;
    double value;
    char code[32];
    char literal[16];
    std::uint8_t reserved[8];
};
#pragma pack(pop)
static_assert(sizeof(HostReadingBlock) == 68);
static_assert(offsetof(HostReadingBlock, value) == 4);
static_assert(offsetof(HostReadingBlock, code) == 12);
static_assert(offsetof(HostReadingBlock, literal) == 44);

// Every field of the result taken from the one number the simulated gage sends.
constexpr const char* kDefinitions =
    "[TYPE1]\r\nDESCRIPTION=Simulated interface\r\n"
    "[TYPE1.1]\r\nDESCRIPTION=One value per line\r\nDATATYPE=0\r\nRECEND=<13><10>\r\n"
    "MEASTIMEOUT=200\r\nVALUE1=1,1,0\r\nREADING=1,1,0\r\nCODE=1,1,0\r\nLITERAL=1,1,0\r\n";

class LibraryAbiTest : public LoadedLibraryTest {
  protected:
    void SetUp() override {
        LoadedLibraryTest::SetUp();
        LocalDir().Write("BRW_GAGE.CFG", kRandomCaliperConfiguration);
        SharedDir().Write("BRW_GAGE.DEF", kDefinitions);
        ASSERT_TRUE(Load());
    }
};

// What a host checks of a block: every field where its declaration puts it.
void ExpectConsistentBlock(const HostReadingBlock& block) {
    const std::string literal(block.literal, strnlen(block.literal, sizeof block.literal));
    ASSERT_FALSE(literal.empty());
    EXPECT_EQ(std::string(block.code, strnlen(block.code, sizeof block.code)), literal);
    const double sent = std::strtod(literal.c_str(), nullptr);
    EXPECT_EQ(block.value, sent) << literal;
    EXPECT_EQ(block.readingNumber,
              static_cast<std::uint16_t>(static_cast<std::int32_t>(std::trunc(sent))));
    EXPECT_EQ(block.channel, 0);
    for (const std::uint8_t byte : block.reserved) {
        EXPECT_EQ(byte, 0);
    }
}

TEST_F(LibraryAbiTest, ResultBlockHasTheHostsLayoutAndAlignment) {
    const std::intptr_t address = Call(8, "RandomValue Caliper");
    ASSERT_NE(address, 0);
    // The double at byte 4 stays on its 4-byte boundary only if the block starts on one.
    EXPECT_EQ(address % 8, 0);
    ExpectConsistentBlock(*reinterpret_cast<const HostReadingBlock*>(address));
}

#if defined(__i386__)

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

TEST_F(LibraryAbiTest, StdcallEntryAtOrdinal100RemovesItsArgumentsAndAnswersInEax) {
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
    ASSERT_NE(read.result, 0u);
    ExpectConsistentBlock(
        *reinterpret_cast<const HostReadingBlock*>(static_cast<std::uintptr_t>(read.result)));
}

#endif

}  // namespace
}  // namespace gage::harness
