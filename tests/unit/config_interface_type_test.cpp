#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/gage_format_file.h"
#include "config/interface_type_file.h"
#include "config/profile.h"
#include "config_test_files.h"

namespace gage {
namespace {

using test::ConfigTestDirectory;

TEST(InterfaceTypeFile, InitStringsAreReadAsDelayAndCommand) {
    ConfigTestDirectory dir;
    const std::string path =
        dir.Write("BRW_GAGE.DEF",
                  "[TYPE2]\nDESCRIPTION=Mux\nINIT1=500,ABC,DEF\nINIT2=nocomma\nINIT3=100,\n"
                  "INIT5=x,\"quoted,text\"tail\nINIT20=0,LAST\nINIT21=0,never\n");
    const std::vector<InitString> strings = ReadInitStrings(path, 2);
    ASSERT_EQ(strings.size(), 3u);
    EXPECT_EQ(strings[0].delay, 500);
    EXPECT_EQ(strings[0].command, "ABC,DEF");
    EXPECT_EQ(strings[1].delay, 0);
    EXPECT_EQ(strings[1].command, "quoted,text");
    EXPECT_EQ(strings[2].command, "LAST");
    EXPECT_TRUE(ReadInitStrings(path, 3).empty());
    EXPECT_EQ(ReadInterfaceTypeDescription(path, 2), "Mux");
}

TEST(InterfaceTypeFile, WriterNumbersKeysWithoutGaps) {
    ConfigTestDirectory dir;
    const std::string path = dir.Write("BRW_GAGE.DEF", "[TYPE1]\nDESCRIPTION=Old\nINIT7=1,X\n");
    const std::vector<InitString> rows{{500, "ABC,DEF"}, {300, ""}, {0, "GO"}};
    ASSERT_TRUE(WriteInterfaceType(path, 1, "New", rows));
    const auto read = [&](std::string_view key) {
        return profile::GetString(path, "TYPE1", key, "<missing>");
    };
    EXPECT_EQ(read("DESCRIPTION"), "New");
    EXPECT_EQ(read("INIT1"), "500,ABC,DEF");
    EXPECT_EQ(read("INIT2"), "0,GO");
    EXPECT_EQ(read("INIT3"), "<missing>");
    EXPECT_EQ(read("INIT7"), "<missing>");
    const std::vector<InitString> back = ReadInitStrings(path, 1);
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back[0].command, "ABC,DEF");
}

TEST(InterfaceTypeFile, ListingNumberingAndRemoval) {
    ConfigTestDirectory dir;
    const std::string path = dir.Write(
        "BRW_GAGE.DEF",
        "[TYPE1]\nDESCRIPTION=One\n[TYPE2]\nDESCRIPTION=Two\n[TYPE4]\nDESCRIPTION=Four\n"
        "[TYPE2.0]\nDESCRIPTION=Scratch\n[TYPE2.1]\nDESCRIPTION=F1\n[TYPE2.100]\n"
        "DESCRIPTION=F100\n[TYPE2.101]\nDESCRIPTION=F101\n[TYPE20.1]\nDESCRIPTION=Other\n");
    const auto types = ListInterfaceTypes(path);
    ASSERT_EQ(types.size(), 3u);
    EXPECT_EQ(types[2].number, 4);
    EXPECT_EQ(types[2].description, "Four");
    EXPECT_EQ(LowestUnusedInterfaceTypeNumber(path), 3);

    ASSERT_TRUE(RemoveInterfaceType(path, 2));
    EXPECT_EQ(ReadInterfaceTypeDescription(path, 2), "");
    EXPECT_EQ(ReadGageFormatDescription(path, 2, 0), "");
    EXPECT_EQ(ReadGageFormatDescription(path, 2, 100), "");
    EXPECT_EQ(ReadGageFormatDescription(path, 2, 101), "F101");  // beyond what lists show
    EXPECT_EQ(ReadGageFormatDescription(path, 20, 1), "Other");
    EXPECT_EQ(LowestUnusedInterfaceTypeNumber(path), 2);
}

}  // namespace
}  // namespace gage
