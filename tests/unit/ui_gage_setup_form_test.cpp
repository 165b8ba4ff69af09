#include <gtest/gtest.h>

#include <string>

#include "config/profile.h"
#include "config_test_files.h"
#include "reading_test_support.h"
#include "ui/forms/gage_setup_form.h"

namespace gage {
namespace {

TEST(GageSetupEditRules, EntriesAreCappedClampedAndDefaulted) {
    EXPECT_EQ(CappedEntry("300"), 255);
    EXPECT_EQ(CappedEntry("65537"), 1);  // low 16 bits first, then the cap
    EXPECT_EQ(CappedEntry("42"), 42);
    EXPECT_EQ(ChannelText(CappedEntry("0")), "");
    EXPECT_EQ(ChannelText(7), "7");
    EXPECT_EQ(GainEntry(""), 1.0);
    EXPECT_EQ(GainEntry("2,5"), 2.5);
    EXPECT_EQ(ZeroEntry(""), 0.0);
    EXPECT_FALSE(RangeEntry("").has_value());
    const struct {
        const char* text;
        int value;
        bool rewrite;
    } precisions[] = {{"20", 15, true}, {"", 7, false}, {"-3", 0, true}, {"4", 4, false}};
    for (const auto& c : precisions) {
        const PrecisionEntry entry = PrecisionFromText(c.text);
        EXPECT_EQ(entry.value, c.value) << c.text;
        EXPECT_EQ(entry.rewrite, c.rewrite) << c.text;
    }
    GageRecord gage;
    gage.Flags = GAGE_FLAG_NEGATE_V7 | GAGE_FLAG_ABSOLUTE;
    StoreEntries({"300", "12", "SN-1", "", "-2", "", "", "", true, false}, gage);
    EXPECT_EQ(gage.ChannelNumber, 255);
    EXPECT_EQ(gage.GageId, 12);
    EXPECT_EQ(gage.Minimum, -2.0);
    EXPECT_EQ(gage.Gain, 1.0);
    EXPECT_EQ(gage.Precision, 7);
    EXPECT_EQ(gage.Flags, GAGE_FLAG_NEGATE_V7 | GAGE_FLAG_NO_READ_CMD);
}

TEST(GageSetupRange, BinaryRangeFollowsFullScaleGainZeroAndAbsolute) {
    GageRecord gage;
    gage.Format.DataType = DATATYPE_BINARY_MSB_FIRST;
    gage.Format.FullScale = 10.0;
    gage.Gain = 2.0;
    gage.Zero = 5.0;
    EXPECT_EQ(ComputeRange(gage).maximum, 15.0);
    EXPECT_EQ(ComputeRange(gage).minimum, -5.0);
    gage.Flags = GAGE_FLAG_ABSOLUTE;
    EXPECT_EQ(ComputeRange(gage).minimum, 5.0);
    EXPECT_EQ(ComputeRange(gage).maximum, 15.0);
    gage.Format.DataType = DATATYPE_ASCII;
    gage.Minimum = -1.0;
    gage.Maximum = 3.0;
    EXPECT_EQ(ComputeRange(gage).minimum, -1.0);  // entered ranges stay as entered
}

TEST(GageSetupRange, BarIsGreyOverAnEmptyRangeAndScaledOtherwise) {
    const BarState grey = ReadingBar(4.0, {2.0, 2.0});
    EXPECT_EQ(grey.colour, kBarColourGrey);
    EXPECT_FALSE(grey.position.has_value());
    EXPECT_EQ(ReadingBar(5.0, {0.0, 10.0}).position, 50);
    EXPECT_EQ(ReadingBar(5.0, {0.0, 10.0}).colour, kBarColourBlue);
    EXPECT_LT(*ReadingBar(-5.0, {0.0, 10.0}).position, 0);
    EXPECT_EQ(ReadingBar(1e300, {0.0, 1.0}).position, std::numeric_limits<int>::max());
}

TEST(GageSetupNames, DuplicateInAnyCaseAndEmptyAreRefused) {
    GageTable gages(3);
    gages[0].Name = "Caliper";
    gages[1].Name = "Bore";
    EXPECT_FALSE(IsGageNameAccepted(gages, 1, "CALIPER"));
    EXPECT_TRUE(IsGageNameAccepted(gages, 0, "CALIPER"));  // its own row
    EXPECT_TRUE(IsGageNameAccepted(gages, 3, "Depth"));    // a new gage
    EXPECT_FALSE(IsGageNameAccepted(gages, 3, ""));
}

class GageSetupFormTest : public ::testing::Test {
  protected:
    void SetUp() override {
        engine.settings.DefinitionsPath = dir.Write("BRW_GAGE.DEF",
                                                    "[TYPE4.1]\nDESCRIPTION=Dial indicator\n"
                                                    "[TYPE4.2]\nDESCRIPTION=Binary\nDATATYPE=2\n"
                                                    "FULLSCALE=10\n");
        engine.connections[3].Name = "Bench";
        engine.connections[3].InterfaceType = 4;
        gages[0].Name = "Old";
        gages[0].InterfaceTypeNumber = 4;
        gages[0].FormatNumber = 2;
        gages[0].ConnectionIndex = 3;
        gages[0].Gain = 0.0;
        gages[0].Zero = 5.0;
    }

    test::ConfigTestDirectory dir;
    testing_support::EngineFixture engine;
    GageTable gages{1};
    WindowHandle configDialog = nullptr;
    UiContext context{engine.context, gages, configDialog};
};

TEST_F(GageSetupFormTest, ApplyingAFormatLoadsItAndTurnsGainZeroIntoOne) {
    GageSetupForm form(context, gages[0], 0);
    ASSERT_EQ(form.InterfaceLines().size(), 1u);
    EXPECT_EQ(form.InterfaceLines()[0].data, 3);
    const auto formats = form.FormatLines(3);
    ASSERT_EQ(formats.size(), 2u);
    EXPECT_EQ(formats[1].text, "Binary");
    EXPECT_EQ(formats[1].data, form.WorkingFormatData());
    EXPECT_TRUE(form.ApplyFormat(nullptr, 3, formats[1].data));
    EXPECT_EQ(form.Working().Gain, 1.0);
    EXPECT_EQ(form.Number(form.Working().Gain), "+1");
    EXPECT_EQ(form.Number(form.Working().Maximum), "+5");
    EXPECT_EQ(form.Number(form.Working().Minimum), "-5");
    EXPECT_FALSE(form.ApplyFormat(nullptr, 3, FormatItemData(4, 9)));  // no description
    EXPECT_EQ(form.Working().Format.FullScale, 0.0);
}

TEST_F(GageSetupFormTest, RemoveStaysDoneWhenTheEditIsCancelled) {
    {
        GageSetupForm form(context, gages[0], 0);
        EXPECT_TRUE(form.RemoveFormat(form.WorkingFormatData()));
        EXPECT_EQ(form.FormatLines(3).size(), 1u);
        EXPECT_FALSE(form.ApplyFormat(nullptr, 3, std::nullopt));
    }  // cancelled: nothing is committed
    profile::ClearCache();
    EXPECT_EQ(profile::GetString(engine.settings.DefinitionsPath, "TYPE4.2", "DESCRIPTION"), "");
    EXPECT_EQ(gages[0].Gain, 0.0);
    EXPECT_EQ(gages[0].FormatNumber, 2);
}

}  // namespace
}  // namespace gage
