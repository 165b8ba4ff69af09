#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "config_test_files.h"
#include "reading_test_support.h"
#include "ui/forms/gage_setup_form.h"

namespace gage {
namespace {

TEST(GageSetupForm, EntriesAreCappedClampedAndDefaultedAsOkStoresThem) {
    EXPECT_EQ(ChannelText(CappedEntry("0")), "");
    EXPECT_EQ(CappedEntry("65537"), 1);  // low 16 bits first, then the cap
    EXPECT_EQ(PrecisionFromText("20").rewrite, true);
    EXPECT_EQ(PrecisionFromText("").rewrite, false);
    EXPECT_EQ(GainEntry("2,5"), 2.5);
    GageRecord gage;
    gage.Flags = GAGE_FLAG_NEGATE_V7 | GAGE_FLAG_ABSOLUTE;
    StoreEntries({"300", "12", "SN-1", "", "-2", "", "", "20", true, false}, gage);
    EXPECT_EQ(gage.ChannelNumber, 255);
    EXPECT_EQ(gage.GageId, 12);
    EXPECT_EQ(gage.Minimum, -2.0);
    EXPECT_EQ(gage.Zero, 0.0);
    EXPECT_EQ(gage.Gain, 1.0);
    EXPECT_EQ(gage.Precision, 15);
    EXPECT_EQ(gage.Flags, GAGE_FLAG_NEGATE_V7 | GAGE_FLAG_NO_READ_CMD);
    StoreEntries({}, gage);
    EXPECT_EQ(gage.Precision, 7);
}

TEST(GageSetupForm, BinaryRangeAndBar) {
    GageRecord gage;
    gage.Format.DataType = DATATYPE_BINARY_MSB_FIRST;
    gage.Format.FullScale = 10.0;
    gage.Gain = 2.0;
    gage.Zero = 5.0;
    EXPECT_EQ(ComputeRange(gage).minimum, -5.0);
    EXPECT_EQ(ComputeRange(gage).maximum, 15.0);
    gage.Flags = GAGE_FLAG_ABSOLUTE;
    EXPECT_EQ(ComputeRange(gage).minimum, 5.0);
    EXPECT_EQ(ComputeRange(gage).maximum, 15.0);

    const BarState grey = ReadingBar(4.0, {2.0, 2.0});
    EXPECT_EQ(grey.colour, kBarColourGrey);
    EXPECT_FALSE(grey.position.has_value());
    EXPECT_EQ(ReadingBar(5.0, {0.0, 10.0}).position, 50);
    EXPECT_LT(*ReadingBar(-5.0, {0.0, 10.0}).position, 0);
    EXPECT_EQ(ReadingBar(1e300, {0.0, 1.0}).position, std::numeric_limits<int>::max());
}

TEST(GageSetupForm, NameOfAnotherRowInAnyCaseAndEmptyAreRefused) {
    GageTable gages(2);
    gages[0].Name = "Caliper";
    EXPECT_FALSE(IsGageNameAccepted(gages, 1, "CALIPER"));
    EXPECT_TRUE(IsGageNameAccepted(gages, 0, "CALIPER"));  // its own row
    EXPECT_FALSE(IsGageNameAccepted(gages, 2, ""));
}

TEST(GageSetupForm, ApplyingAFormatLoadsItAndTurnsAStoredGainOfZeroIntoOne) {
    test::ConfigTestDirectory dir;
    testing_support::EngineFixture engine;
    engine.settings.DefinitionsPath = dir.Write(
        "BRW_GAGE.DEF", "[TYPE4.1]\nDESCRIPTION=Dial\n[TYPE4.2]\nDESCRIPTION=Binary\nDATATYPE=2\n");
    engine.connections[3].Name = "Bench";
    engine.connections[3].InterfaceType = 4;
    GageTable gages(1);
    gages[0].InterfaceTypeNumber = 4;
    gages[0].FormatNumber = 2;
    gages[0].Gain = 0.0;
    WindowHandle configDialog = nullptr;
    UiContext context{engine.context, gages, configDialog};
    GageSetupForm form(context, gages[0], 0);
    EXPECT_EQ(form.InterfaceLines().at(0).data, 3);
    const auto formats = form.FormatLines(3);
    ASSERT_EQ(formats.size(), 2u);
    EXPECT_EQ(formats[1].data, form.WorkingFormatData());
    EXPECT_TRUE(form.ApplyFormat(nullptr, 3, formats[1].data));
    EXPECT_EQ(form.Number(form.Working().Gain), "+1");
    EXPECT_FALSE(form.ApplyFormat(nullptr, 3, FormatItemData(4, 9)));  // no description
    EXPECT_EQ(form.Working().ConnectionIndex, 3);
}

}  // namespace
}  // namespace gage
