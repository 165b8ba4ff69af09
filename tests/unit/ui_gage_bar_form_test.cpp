#include <gtest/gtest.h>

#include <string>

#include "reading/reading_result.h"
#include "ui/forms/gage_bar_form.h"
#include "unit/reading_test_support.h"

namespace gage {
namespace {

using testing_support::EngineFixture;
using testing_support::SetBytes;
using testing_support::Spec;

TEST(GageBarForm, RowsFollowTablePositionsUpToTwenty) {
    GageTable gages(25);
    for (auto& gage : gages) {
        gage.Name = "G";
    }
    gages[4].Name = "";
    EXPECT_TRUE(IsBarRowShown(gages, 19));
    EXPECT_FALSE(IsBarRowShown(gages, 20));  // gage 21 is never shown nor read
    EXPECT_FALSE(IsBarRowShown(gages, 4));   // a free row stays blank
    std::array<bool, kBarRowCount> polled{};
    EXPECT_EQ(PolledBarRows(gages, true, polled).size(), 20u);

    gages.resize(3);
    EXPECT_FALSE(IsBarRowShown(gages, 3));  // row D of three gages does nothing
    EXPECT_EQ(PolledBarRows(gages, true, polled), (std::vector<int>{0, 1, 2}));
    polled[1] = true;
    polled[5] = true;  // beyond the gage count
    EXPECT_EQ(PolledBarRows(gages, false, polled), (std::vector<int>{1}));
}

TEST(GageBarForm, ReadPlacesTheValueOnTheGagesRange) {
    EngineFixture engine;
    GageTable gages(2);
    for (auto& gage : gages) {
        gage.Name = "RandomValue bench";  // the simulated source: no port to open
        gage.InterfaceTypeNumber = 1;
        gage.Precision = -1;
        gage.Format.ReadTimeout = 200;
        SetBytes(gage.Format.RecordEnd, gage.Format.RecordEndLength, "<13><10>");
        gage.Format.ValueAField = Spec(1, 1, 0);
        gage.Minimum = 5.0;
        gage.Maximum = 10.0;
    }
    gages[1].Minimum = gages[1].Maximum = 0.0;
    gages[1].ConnectionIndex = 1;
    WindowHandle configDialog = nullptr;
    UiContext context{engine.context, gages, configDialog};
    GageBarForm form(context);
    EXPECT_EQ(form.OpenRows(nullptr)[1], "RandomValue bench");

    struct Case {
        int row;
        const char* record;
        const char* text;
        unsigned colour;
        std::optional<int> position;
    };
    const Case cases[] = {
        {0, "7.5\r\n", "+7.5", kBarColourBlue, 50},
        {0, "12\r\n", "+12", kBarColourBlue, 140},  // shown full by the control
        {1, "3\r\n", "+3", kBarColourGrey, std::nullopt},
    };
    for (const Case& c : cases) {
        engine.Hold(c.row, c.record);
        const auto reading = form.ReadRow(nullptr, c.row, 0);
        ASSERT_TRUE(reading.has_value()) << c.record;
        EXPECT_EQ(reading->valueText, c.text);
        EXPECT_EQ(reading->bar.colour, c.colour);
        EXPECT_EQ(reading->bar.position, c.position) << c.record;
    }
    gages[0].InterfaceTypeNumber = 0;  // no interface type: never a reading
    EXPECT_FALSE(form.ReadRow(nullptr, 0, READ_OPT_POLL).has_value());
    EXPECT_FALSE(form.ReadRow(nullptr, 2, 0).has_value());
}

}  // namespace
}  // namespace gage
