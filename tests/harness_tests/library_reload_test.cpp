// Loading and unloading the built library many times in one process: every load runs the whole
// start-up (the configuration is read afresh), every unload the whole shutdown, and nothing is
// left behind.

#include <gtest/gtest.h>

#include <string>

#include "helpers/random_gage_configuration.h"
#include "loaded_library_fixture.h"
#include "process_memory.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

namespace gage::harness {
namespace {

constexpr std::int32_t kGageCount = 5;
#if defined(_WIN32)
constexpr int kLoads = 20;  // a load costs over a second under Wine
#else
constexpr int kLoads = 100;
#endif

using test::ConfigurationWithGages;

class LibraryReloadTest : public LoadedLibraryTest {
  protected:
    // One load and unload with a configuration of gages gages, checked from outside.
    void LoadAndUnload(int gages) {
        LocalDir().Write("BRW_GAGE.CFG", ConfigurationWithGages(gages));
        ASSERT_TRUE(Load());
        ASSERT_EQ(Call(kGageCount), gages) << "the load did not read the configuration afresh";
        Unload();
    }
};

TEST_F(LibraryReloadTest, RepeatedLoadsEachStartAndStopWithoutLeaking) {
    for (int i = 0; i < 5; ++i) {  // the loader's own first-time allocations
        LoadAndUnload(i + 1);
    }
    const std::size_t before = ProcessMemoryInUse();
    for (int i = 0; i < kLoads; ++i) {
        LoadAndUnload(i % 7 + 1);
        if (HasFatalFailure()) {
            return;
        }
    }
    const std::size_t after = ProcessMemoryInUse();
    // A leak of even a few kilobytes per load would add up to far more than this.
    EXPECT_LT(after, before + 1024 * 1024) << "before " << before << ", after " << after;
#if defined(__SANITIZE_ADDRESS__)
    EXPECT_EQ(__lsan_do_recoverable_leak_check(), 0);
#endif
}

}  // namespace
}  // namespace gage::harness
