#include <gtest/gtest.h>

#include <string>

#include "config/profile.h"
#include "config_test_files.h"
#include "ui/forms/interface_config_form.h"

namespace gage {
namespace {

TEST(InterfaceConfigForm, StoredRowsShowSplitAndSaveBackWithoutGaps) {
    test::ConfigTestDirectory dir;
    const std::string path =
        dir.Write("BRW_GAGE.DEF",
                  "[TYPE1]\nDESCRIPTION=Mux\nINIT1=500,ABC,DEF\nINIT3=0,<27>R\n"
                  "[TYPE2]\nDESCRIPTION=Two\n[TYPE4]\nDESCRIPTION=Four\n");
    LoadedInterfaceType loaded = LoadInterfaceType(path, 1);
    ASSERT_EQ(loaded.rows.size(), 20u);
    EXPECT_EQ(loaded.rows[0], "1.\t500\tABC,DEF");
    EXPECT_EQ(loaded.rows[1], "2.\t");  // a missing key
    const InitRowParts first = SplitInitRow(loaded.rows[0]);
    EXPECT_EQ(first.delay, "500");
    EXPECT_EQ(first.text, "ABC,DEF");
    EXPECT_EQ(SplitInitRow(loaded.rows[1]).text, "");

    CommitInitRow(loaded.rows, 4, "250", "");  // a delay without a string is not saved
    CommitInitRow(loaded.rows, 5, "x", "Z");   // no number: delay 0
    EXPECT_EQ(loaded.rows[5], "6.\t0\tZ");
    ASSERT_EQ(SaveInterfaceType(path, 1, loaded.description, loaded.rows), 1);
    EXPECT_EQ(profile::GetString(path, "TYPE1", "INIT1"), "500,ABC,DEF");
    EXPECT_EQ(profile::GetString(path, "TYPE1", "INIT2"), "0,<27>R");
    EXPECT_EQ(profile::GetString(path, "TYPE1", "INIT3"), "0,Z");
    EXPECT_EQ(profile::GetString(path, "TYPE1", "INIT4"), "");

    EXPECT_EQ(SaveInterfaceType(path, kNewInterfaceType, "Three", NewInitRows()), 3);
    EXPECT_TRUE(LoadInterfaceType(path, 7).rows.empty());  // no description: an empty list
}

TEST(InterfaceConfigForm, UpAndDownSwapAndRenumberClearEmptiesARow) {
    std::vector<std::string> rows = NewInitRows();
    CommitInitRow(rows, 0, "10", "FIRST");
    CommitInitRow(rows, 1, "20", "SECOND");
    EXPECT_EQ(MoveInitRow(rows, 1, -1), 0);
    EXPECT_EQ(rows[0], "1.\t20\tSECOND");
    EXPECT_EQ(rows[1], "2.\t10\tFIRST");
    EXPECT_EQ(MoveInitRow(rows, 0, -1), 0);   // the first row cannot go up
    EXPECT_EQ(MoveInitRow(rows, 19, 1), 19);  // nor the twentieth down
    EXPECT_EQ(MoveInitRow(rows, 1, 1), 2);
    EXPECT_EQ(rows[2], "3.\t10\tFIRST");
    EXPECT_EQ(rows[1], "2.\t\t");
    ClearInitRow(rows, 0);
    EXPECT_EQ(rows[0], "1.\t\t");
}

}  // namespace
}  // namespace gage
