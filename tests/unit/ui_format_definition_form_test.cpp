// The Format Definition and Advanced dialogs' rules: numbering, refusals, the scratch copy, the
// texts shown for a saved format, the enabling by data type and the raw display of a read.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "config/byte_string.h"
#include "config/profile.h"
#include "config_test_files.h"
#include "helpers/message_box_recorder.h"
#include "reading_test_support.h"
#include "ui/forms/format_definition_form.h"

namespace gage {
namespace {

class FormatDefinitionFormTest : public ::testing::Test {
  protected:
    void Use(std::string_view definitions) {
        engine.settings.DefinitionsPath = dir.Write("BRW_GAGE.DEF", definitions);
    }
    std::string Key(int type, int format, std::string_view key) {
        return profile::GetString(engine.settings.DefinitionsPath, GageFormatSection(type, format),
                                  key, "<missing>");
    }
    FormatDefinitionForm Form(int type, int format) {
        return FormatDefinitionForm(context, gage, type, format, editingForm);
    }

    test::ConfigTestDirectory dir;
    testing_support::EngineFixture engine;
    GageTable gages;
    WindowHandle configDialog = nullptr;
    UiContext context{engine.context, gages, configDialog};
    GageRecord gage;
    GageFormat editingForm;
    test::MessageBoxRecorder recorder{engine.support, MB_RESULT_OK};
};

TEST_F(FormatDefinitionFormTest, NewFormatTakesTheFirstGapAndRemovesTheScratchCopy) {
    Use("[TYPE1.1]\nDESCRIPTION=A\n[TYPE1.2]\nDESCRIPTION=B\n[TYPE1.4]\nDESCRIPTION=D\n"
        "[TYPE1.0]\nDESCRIPTION=scratch\n");
    FormatDialogInput input;
    input.description = "C";
    FormatDefinitionForm form = Form(1, 0);
    EXPECT_EQ(form.Save(nullptr, input, false), FormatSaveOutcome::Saved);
    EXPECT_EQ(Key(1, 3, "DESCRIPTION"), "C");
    EXPECT_EQ(Key(1, 0, "DESCRIPTION"), "<missing>");
    input.description = "E";
    EXPECT_EQ(Form(1, 2).Save(nullptr, input, true), FormatSaveOutcome::Saved);  // Save as New
    EXPECT_EQ(Key(1, 5, "DESCRIPTION"), "E");
    EXPECT_EQ(Key(1, 2, "DESCRIPTION"), "B");
    EXPECT_TRUE(recorder.boxes.empty());
}

TEST_F(FormatDefinitionFormTest, EmptyOrTakenDescriptionIsReportedAndNothingIsWritten) {
    Use("[TYPE1.2]\nDESCRIPTION=Caliper\n[TYPE1.5]\nDESCRIPTION=Old\n");
    const std::string before = test::ConfigTestDirectory::Read(engine.settings.DefinitionsPath);
    FormatDialogInput input;
    FormatDefinitionForm form = Form(1, 5);
    EXPECT_EQ(form.Save(nullptr, input, false), FormatSaveOutcome::DescriptionRefused);
    input.description = "CALIPER";
    EXPECT_EQ(form.Save(nullptr, input, false), FormatSaveOutcome::DescriptionRefused);
    EXPECT_EQ(test::ConfigTestDirectory::Read(engine.settings.DefinitionsPath), before);
    ASSERT_EQ(recorder.boxes.size(), 2u);
    EXPECT_NE(recorder.boxes[1].text.find("NOT UNQUE"), std::string::npos);
    input.description = "Old";
    EXPECT_EQ(form.Save(nullptr, input, false), FormatSaveOutcome::Saved);
}

TEST_F(FormatDefinitionFormTest, BinaryFormatShowsResolutionAndFullScaleAndAnAsciiOneDoesNot) {
    Use("[TYPE3.1]\nDESCRIPTION=Dial\nDATATYPE=2\nBITS=16\nFULLSCALE=12.50\nFMTOPTS=16\n"
        "[TYPE3.2]\nDESCRIPTION=Text\nDATATYPE=3\nBITS=12\nFULLSCALE=1\n");
    const std::optional<FormatDialogInput> binary = Form(3, 1).LoadForEditing();
    ASSERT_TRUE(binary.has_value());
    EXPECT_EQ(binary->bits, "16");
    EXPECT_EQ(binary->fullScale, "12.5");  // "%0.8g"
    EXPECT_EQ(binary->combinationChoice, 0);
    const std::optional<FormatDialogInput> ascii = Form(3, 2).LoadForEditing();
    EXPECT_EQ(ascii->bits, "");
    EXPECT_EQ(ascii->fullScale, "");
    EXPECT_EQ(ascii->combinationChoice, -1);                // no option word: nothing selected
    EXPECT_FALSE(Form(3, 0).LoadForEditing().has_value());  // new: the controls stay empty
}

TEST(FormatDefinitionRules, DataTypeEnablesItsControls) {
    struct Case {
        std::optional<int> dataType;
        bool resolutionAndFullScale;
        bool decimalSeparator;
    };
    const Case cases[] = {{DATATYPE_ASCII, false, true},
                          {DATATYPE_ASCII16, false, true},
                          {DATATYPE_BINARY_LSB_FIRST, true, false},
                          {DATATYPE_BINARY_MSB_FIRST, true, false},
                          {std::nullopt, true, true}};  // a new format before a type is chosen
    for (const Case& c : cases) {
        const TypeEnabling enabling = EnablingForType(c.dataType);
        EXPECT_EQ(enabling.resolutionAndFullScale, c.resolutionAndFullScale)
            << c.dataType.value_or(-1);
        EXPECT_EQ(enabling.decimalSeparator, c.decimalSeparator) << c.dataType.value_or(-1);
    }
}

TEST(FormatDefinitionRules, RawBytesShowAsTextOrTokensAndStayBelow256) {
    const std::uint8_t bytes[] = {2, 49, 50, 13};
    EXPECT_EQ(RawBytesText(bytes, 4, DATATYPE_ASCII), "<2>12<13>");
    EXPECT_EQ(RawBytesText(bytes, 4, DATATYPE_ASCII16), "<2>12<13>");
    EXPECT_EQ(RawBytesText(bytes, 4, DATATYPE_BINARY_LSB_FIRST), "<2><49><50><13>");
    const std::vector<std::uint8_t> many(100, 200);  // "<200>" each
    const std::string shown = RawBytesText(many.data(), many.size(), DATATYPE_ASCII);
    EXPECT_EQ(shown.size(), 255u);  // 51 whole tokens; the 52nd would reach 260
    const std::vector<std::uint8_t> letters(300, 'x');
    EXPECT_EQ(RawBytesText(letters.data(), letters.size(), DATATYPE_ASCII), std::string(255, 'x'));
}

TEST(FormatDefinitionRules, AdvancedStoresCommandsNumbersAndOnlyTheTwoClearBits) {
    GageFormat form;
    form.Options = 0x0133;  // combination and other bits must survive
    AdvancedControls controls = AdvancedControlTexts(form);
    EXPECT_TRUE(controls.clearBefore);
    EXPECT_EQ(controls.delay, "");
    controls.commands[0] = std::string(80, 'g');
    controls.commands[6] = "<5>";
    controls.delay = "70000";  // kept in 16 bits
    controls.timeout = "abc";
    controls.clearBefore = false;
    controls.clearAfter = true;
    StoreAdvanced(controls, form);
    EXPECT_EQ(form.GageInitCommand.view(), std::string(63, 'g'));
    EXPECT_EQ(ByteStringText(form.RequestSequence), "<5>");
    EXPECT_EQ(form.CommandDelay, 70000 - 65536);
    EXPECT_EQ(form.ReadTimeout, 0);
    EXPECT_EQ(form.Options, 0x0132);
    EXPECT_EQ(AdvancedControlTexts(form).delay, "4464");
}

}  // namespace
}  // namespace gage
