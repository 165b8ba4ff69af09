// The library as a host meets it: found by name (and by ordinal on Windows), loaded with nothing
// configured, answering the commands that need no gage.

#include <gtest/gtest.h>

#include "loaded_library_fixture.h"

namespace gage::harness {
namespace {

using LibraryEntryTest = LoadedLibraryTest;

TEST_F(LibraryEntryTest, EntryFoundByNameIsTheOneAtOrdinal100) {
    ASSERT_TRUE(Load());
    ASSERT_NE(Library().EntryByName(), nullptr);
    if (!host::PlatformHasExportOrdinals()) {
        EXPECT_EQ(Library().EntryByOrdinal(), nullptr);
        return;
    }
    EXPECT_EQ(Library().EntryByOrdinal(), Library().EntryByName());
}

TEST_F(LibraryEntryTest, EveryCommandNeedsInterfaceVersionOne) {
    ASSERT_TRUE(Load());
    const auto entry = Library().EntryByName();
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry(nullptr, 1, 0, nullptr), 1);
    for (const std::int32_t version : {0, 2, -1, 0x10001}) {
        EXPECT_EQ(entry(nullptr, version, 0, nullptr), 0) << "version " << version;
        EXPECT_EQ(entry(nullptr, version, 5, nullptr), 0) << "version " << version;
    }
}

TEST_F(LibraryEntryTest, AliveAnswersOneAndUndefinedCommandsZero) {
    ASSERT_TRUE(Load());
    EXPECT_EQ(Call(0), 1);
    EXPECT_EQ(Call(0x00010000), 1);  // a high word does not change the command
    EXPECT_EQ(Call(2), 0);
    EXPECT_EQ(Call(19), 0);
    EXPECT_EQ(Call(0xFFFF), 0);
    EXPECT_EQ(Call(-1), 0);
    EXPECT_EQ(Call(0), 1);  // and it still answers afterwards
}

TEST_F(LibraryEntryTest, WithoutConfigurationThereAreNoGages) {
    ASSERT_TRUE(Load());
    EXPECT_EQ(Call(5), 0);
    EXPECT_EQ(Call(4, nullptr), 0);  // index 0
    EXPECT_EQ(Call(9, "RandomValue"), 0);
    EXPECT_EQ(Call(9, nullptr), 0);
    EXPECT_EQ(Call(8, "RandomValue"), 0);
    EXPECT_EQ(Call(14, "RandomValue"), 0);
    EXPECT_EQ(Call(18), 0);  // no configuration dialog is open
    EXPECT_TRUE(GageNames().empty());
}

TEST_F(LibraryEntryTest, ConfigurationOfAnotherApplicationIsNotLoaded) {
    LocalDir().Write("BRW_GAGE.CFG",
                     "[APPLICATION]\r\nNAME=OTHERAPP\r\nVERSION=9\r\n"
                     "[GAGES]\r\nGAGE_1=\"RandomValue 1\",1,1,0,0,,0,10,0,1,3,0,0\r\n");
    ASSERT_TRUE(Load());
    EXPECT_EQ(Call(5), 0);
    EXPECT_EQ(Call(9, "RandomValue 1"), 0);
}

TEST_F(LibraryEntryTest, LoadsAgainAfterUnloading) {
    ASSERT_TRUE(Load());
    EXPECT_EQ(Call(0), 1);
    Unload();
    ASSERT_TRUE(Load());
    EXPECT_EQ(Call(0), 1);
    EXPECT_EQ(Call(5), 0);
}

}  // namespace
}  // namespace gage::harness
