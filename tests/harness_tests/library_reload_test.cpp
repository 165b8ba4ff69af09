// Loading and unloading the built library many times in one process: every load runs the whole
// start-up (the configuration is read afresh), every unload the whole shutdown, and nothing is
// left behind.

#include <gtest/gtest.h>

#include <cstddef>
#include <string>

#include "helpers/random_gage_configuration.h"
#include "loaded_library_fixture.h"

#if defined(_WIN32)
#include <windows.h>

#include <psapi.h>
#else
#include <malloc.h>
#endif
#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

namespace gage::harness {
namespace {

#if defined(_WIN32)
constexpr int kLoads = 20;  // a load costs over a second under Wine

std::size_t ProcessMemoryInUse() {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    const bool known = GetProcessMemoryInfo(GetCurrentProcess(),
                                            reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                                            sizeof counters);
    return known ? counters.PrivateUsage : 0;
}
#else
constexpr int kLoads = 100;

// The sanitizer builds check for leaks themselves.
std::size_t ProcessMemoryInUse() {
    return static_cast<std::size_t>(::mallinfo2().uordblks);
}
#endif

class LibraryReloadTest : public LoadedLibraryTest {
  protected:
    // One load and unload with a configuration of gages gages, checked from outside.
    void LoadAndUnload(int gages) {
        LocalDir().Write("BRW_GAGE.CFG", test::ConfigurationWithGages(gages));
        ASSERT_TRUE(Load());
        ASSERT_EQ(Call(5), gages) << "the load did not read the configuration afresh";
        Unload();
    }
};

TEST_F(LibraryReloadTest, RepeatedLoadsEachStartAndStopWithoutLeaking) {
    for (int i = 0; i < 5; ++i) {  // the loader's own first-time allocations
        LoadAndUnload(i + 1);
    }
    const std::size_t before = ProcessMemoryInUse();
    for (int i = 0; i < kLoads && !HasFatalFailure(); ++i) {
        LoadAndUnload(i % 7 + 1);
    }
    const std::size_t after = ProcessMemoryInUse();
    // A leak of even a few kilobytes per load would add up to far more than this.
    EXPECT_LT(after, before + 1024 * 1024) << "before " << before << ", after " << after;
#if defined(__SANITIZE_ADDRESS__)
    EXPECT_EQ(__lsan_do_recoverable_leak_check(), 0);
#endif
}

// A library that cannot be loaded leaves an empty object that says why and answers nothing.
TEST(LibraryLoadFailureTest, SaysWhyAndAnswersNothing) {
    const host::GageServerLibrary missing("no-such-gage-server-library.bin");
    EXPECT_FALSE(missing.IsLoaded());
    EXPECT_NE(missing.Error().find("no-such-gage-server-library.bin"), std::string::npos)
        << missing.Error();
    EXPECT_EQ(missing.Call(0), 0);
}

}  // namespace
}  // namespace gage::harness
