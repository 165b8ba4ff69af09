// The library as a host meets it: found by name (and by ordinal on Windows), loaded with nothing
// configured, answering the commands that need no gage.

#include <gtest/gtest.h>

#include "loaded_library_fixture.h"

namespace gage::harness {
namespace {

using LibraryEntryTest = LoadedLibraryTest;

// The entry found by name is the one at ordinal 100 and passes the interface version on. With
// nothing configured the gage commands answer 0 (unknown commands are the unit tests'), and
// without a window system no dialog opens; alive still answers afterwards.
TEST_F(LibraryEntryTest, EntryFoundByNameOrOrdinalAndWithoutConfigurationOnlyAliveAnswers) {
    ASSERT_TRUE(Load());
    const auto entry = Library().EntryByName();
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(Library().EntryByOrdinal(), host::PlatformHasExportOrdinals() ? entry : nullptr);
    EXPECT_EQ(entry(nullptr, 1, 0, nullptr), 1);
    EXPECT_EQ(entry(nullptr, 2, 0, nullptr), 0);  // the version reaches the engine
    for (const std::int32_t command : {5, 4, 18}) {
        EXPECT_EQ(Call(command), 0) << command;
    }
    for (const std::int32_t command : {9, 8, 14}) {  // even the simulated gages need a row
        EXPECT_EQ(Call(command, "RandomValue"), 0) << command;
    }
#if !defined(_WIN32)
    for (const std::int32_t command : {3, 6, 7, 15}) {
        EXPECT_EQ(Call(command), 0) << "command " << command;
    }
#endif
    EXPECT_EQ(Call(0), 1);
}

}  // namespace
}  // namespace gage::harness
