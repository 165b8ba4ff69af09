// The Format Definition and Advanced dialogs' rules: numbering, refusals, the scratch copy, the
// texts shown for a saved format, the enabling by data type and the raw display of a read.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "config/byte_string.h"
#include "config/profile.h"
#include "config_test_files.h"
#include "reading_test_support.h"
#include "ui/forms/format_definition_form.h"

namespace gage {
namespace {

class FormatDefinitionFormTest : public ::testing::Test {
  protected:
    void Use(std::string_view definitions) {
        engine.settings.DefinitionsPath = dir.Write("BRW_GAGE.DEF", definitions);
        engine.support.SetMessageBoxHook([this](const MessageBoxRequest& box) {
            boxes.push_back(box.text);
            return 1;
        });
    }
    std::string Key(int type, int format, std::string_view key) {
        profile::ClearCache();
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
    std::vector<std::string> boxes;
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
    EXPECT_TRUE(boxes.empty());
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
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_NE(boxes[1].find("NOT UNQUE"), std::string::npos);
    input.description = "Old";
    EXPECT_EQ(form.Save(nullptr, input, false), FormatSaveOutcome::Saved);
}

TEST_F(FormatDefinitionFormTest, InitializeGageTriesTheEditedDefinitionAndCancelRemovesIt) {
    Use("[TYPE2.1]\nDESCRIPTION=Saved\nRECEND=<13>\n");
    gage.Name = "RandomValue bench";
    FormatDefinitionForm form = Form(2, 1);
    form.PrepareTestGage(nullptr);
    EXPECT_EQ(form.TestGage().Format.RecordEndLength, 1);
    FormatDialogInput input;
    input.description = "Edited";
    input.recordEnd = "<13><10>";
    form.InitializeGage(nullptr, input);
    EXPECT_EQ(Key(2, 0, "RECEND"), "<13><10>");
    EXPECT_EQ(form.TestGage().FormatNumber, 0);
    EXPECT_EQ(form.TestGage().Format.RecordEndLength, 2);
    form.Cancel();
    EXPECT_EQ(Key(2, 0, "DESCRIPTION"), "<missing>");
    EXPECT_EQ(Key(2, 1, "DESCRIPTION"), "Saved");
}

TEST_F(FormatDefinitionFormTest, SavedFormatComesBackIntoTheControlsAsItWasTyped) {
    Use("");
    FormatDialogInput input;
    input.description = "Dial";
    input.dataType = DATATYPE_BINARY_MSB_FIRST;
    input.bits = "16";
    input.fullScale = "12.5";
    input.recordStart = "<2>";
    input.recordLength = "9";
    input.combinationChoice = 2;  // "Difference (A - B)"
    input.literal = {"2", "1", "0", "EQ", "NRM"};
    input.valueA = {"0", "5", "2", "", ""};
    input.reading = {"0", "5", "0", "", ""};
    input.code = {"1", "1", "1", "GT", ""};
    EXPECT_EQ(Form(3, 0).Save(nullptr, input, false), FormatSaveOutcome::Saved);
    EXPECT_EQ(Key(3, 1, "FMTOPTS"), "48");
    EXPECT_EQ(Key(3, 1, "VALUE1"), "0,5,2");
    EXPECT_EQ(Key(3, 1, "READING"), "<missing>");
    EXPECT_EQ(Key(3, 1, "CODE"), "1,1,1");

    const std::optional<FormatDialogInput> shown = Form(3, 1).LoadForEditing();
    ASSERT_TRUE(shown.has_value());
    EXPECT_EQ(shown->description, "Dial");
    EXPECT_EQ(shown->dataType, DATATYPE_BINARY_MSB_FIRST);
    EXPECT_EQ(shown->bits, "16");
    EXPECT_EQ(shown->fullScale, "12.5");
    EXPECT_EQ(shown->recordStart, "<2>");
    EXPECT_EQ(shown->recordLength, "9");
    EXPECT_EQ(shown->combinationChoice, 2);
    EXPECT_EQ(shown->literal.op, "EQ");
    EXPECT_EQ(shown->literal.literal, "NRM");
    EXPECT_EQ(shown->literal.length, "");  // 0 shows as empty
    EXPECT_EQ(shown->valueA.startPosition, "5");
    EXPECT_FALSE(Form(3, 0).LoadForEditing().has_value());  // new: the controls stay empty

    GageFormat noCombination;
    EXPECT_EQ(FormatControlTexts("x", noCombination).combinationChoice, -1);
    noCombination.DataType = DATATYPE_ASCII16;
    noCombination.Bits = 12;
    EXPECT_EQ(FormatControlTexts("x", noCombination).bits, "");  // an ASCII type has none
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

TEST(FormatDefinitionRules, ListsHoldTheirItemsInOrder) {
    Support support;
    const std::vector<ComboLine> types = DataTypeLines(support);
    ASSERT_EQ(types.size(), 4u);
    EXPECT_EQ(types[1].text, "ASCII (16 bit)");
    EXPECT_EQ(types[1].data, DATATYPE_ASCII16);
    const std::vector<std::string> operators = OperatorLines(support);
    ASSERT_EQ(operators.size(), 7u);
    EXPECT_EQ(operators[0], "");
    EXPECT_EQ(operators[6], "GE");
    EXPECT_EQ(CombinationLines(support).at(2), "Difference (A - B)");
}

}  // namespace
}  // namespace gage
