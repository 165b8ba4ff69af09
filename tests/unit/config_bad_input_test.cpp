// Configuration and definition files written by hand or damaged: over-long lines are cut to
// their room, numbers out of range are read the C way, and big files stay bounded. Arbitrary
// bytes are the fuzz corpora's part (tests/fuzz), replayed in every build.

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "config/configuration_file.h"
#include "config/gage_format_file.h"
#include "config/interface_type_file.h"
#include "config_test_files.h"

namespace gage {
namespace {

const std::string kHeader = "[APPLICATION]\nNAME=ZRNGSV32\nVERSION=9\n";
const std::string kHuge(100000, 'x');

class BadInputTest : public ::testing::Test {
  protected:
    int Load(const std::string& text) {
        return LoadConfiguration({gages, connections}, nullptr, dir.Write("BRW_GAGE.CFG", text),
                                 dir.Write("BRW_GAGE.DEF", definitions), {});
    }
    GageFormat Format(const std::string& body) {
        return ReadGageFormat(dir.Write("BRW_GAGE.DEF", "[TYPE1.1]\n" + body), 1, 1);
    }

    test::ConfigTestDirectory dir;
    std::string definitions;
    GageTable gages;
    ConnectionTable connections;
};

TEST_F(BadInputTest, HugeLinesAreCutNotOverrun) {
    ASSERT_EQ(Load(kHeader + "[INTERFACES]\nMUX_0=\"" + kHuge + "\",1,1,9600,8,1,1,1,0,0,\n" +
                   "MUX_1=\"N\",1,1,9600,8,1,1,1,0,1," + kHuge +
                   "\n[GAGES]\nGAGE_1=\"G\",1,1,0,0," + kHuge + ",0,0,0,1,3,0,0\nGAGE_2=" + kHuge +
                   "\nGAGE_3=\"Kept\",1,1,0,0,,0,0,0,1,3,0,0\n"),
              1);
    // The lines are cut to their room, so their later fields are lost and the rows stay empty.
    EXPECT_TRUE(connections[0].Name.empty());
    EXPECT_TRUE(connections[1].Name.empty());
    ASSERT_EQ(gages.size(), 1u);
    EXPECT_EQ(gages[0].Name.view(), "Kept");

    const GageFormat format = Format("SEPARATOR=" + kHuge + "\nVALUE1=1,1,0," + kHuge +
                                     "\nGAGEINIT=" + kHuge + "\nFULLSCALE=" + kHuge + "\n");
    EXPECT_EQ(format.SeparatorLength, 64);
    EXPECT_EQ(format.ValueAField.Defined, 1);
    EXPECT_TRUE(format.ValueAField.Condition.empty());
    EXPECT_EQ(format.GageInitCommand.size(), 63u);
}

TEST_F(BadInputTest, MissingQuotesAndNumbersOutOfRange) {
    ASSERT_EQ(Load(kHeader +
                   "[INTERFACES]\nMUX_0=\"Unclosed,1,1,9600,8,1,1,1,0,0,\n"
                   "MUX_1=\"P\",99999999999999999999,-99999999999,1e9,8,1,1,1,-2147483649,0,\n"
                   "[GAGES]\nGAGE_1=\"Unclosed,1,1,0,0,,0,0,0,1,3,0,0\n"
                   "GAGE_2=\"Big\",99999999,4294967296,-1,99999999999,S,1e999,-1e999,nan,1e-999,"
                   "2147483648,4294967295,0\n"),
              1);
    EXPECT_TRUE(connections[0].Name.empty());
    EXPECT_EQ(connections[1].Name.view(), "P");
    ASSERT_EQ(gages.size(), 1u);
    EXPECT_EQ(gages[0].Name.view(), "Big");
    EXPECT_TRUE(std::isinf(gages[0].Minimum));
    EXPECT_TRUE(std::isnan(gages[0].Zero));
    EXPECT_EQ(gages[0].Gain, 1.0);  // 1e-999 reads as 0
    EXPECT_EQ(gages[0].Precision, 0);

    const GageFormat format = Format(
        "DATATYPE=1\nBITS=-1\nRECLENGTH=-5\nMEASDELAY=99999999999\n"
        "READING=99999999999,-1,-1,\"unclosed\n");
    EXPECT_EQ(format.Scale, 1u << 31);
    EXPECT_EQ(format.ReadingField.Defined, 1);
    EXPECT_EQ(format.BodyLength, 65531);
}

TEST_F(BadInputTest, BigFilesStayBounded) {
    std::string text = kHeader;
    for (int i = 0; i < 10000; ++i) {
        text += "[S" + std::to_string(i) + "]\nK=V\n";
        definitions +=
            "[TYPE" + std::to_string(i % 150) + "." + std::to_string(i) + "]\nDESCRIPTION=D\n";
    }
    text += "[GAGES]\nGAGE_1=\"G\",1,1,0,0,,0,0,0,1,3,0,0\n";
    ASSERT_EQ(Load(text), 1);
    EXPECT_EQ(gages.size(), 1u);
    EXPECT_EQ(LowestUnusedInterfaceTypeNumber(dir.File("BRW_GAGE.DEF")), 1);

    text = kHeader + "[GAGES]\n";  // numbered on and on, each line too short
    for (int i = 1; i <= 3000; ++i) {
        text += "GAGE_" + std::to_string(i) + "=\"G" + std::to_string(i) + "\",1,1,0,0\n";
    }
    ASSERT_EQ(Load(text), 1);
    EXPECT_TRUE(gages.empty());
}

}  // namespace
}  // namespace gage
