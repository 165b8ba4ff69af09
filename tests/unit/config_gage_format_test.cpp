#include <gtest/gtest.h>

#include <string>

#include "config/byte_string.h"
#include "config/gage_format_file.h"
#include "config/profile.h"
#include "config_test_files.h"

namespace gage {
namespace {

using test::ConfigTestDirectory;

class GageFormatFileTest : public ::testing::Test {
  protected:
    std::string Definitions(std::string_view text) { return dir.Write("BRW_GAGE.DEF", text); }
    GageFormat Runtime(std::string_view sectionBody, int type = 1, int format = 1) {
        const std::string path =
            Definitions("[TYPE" + std::to_string(type) + "." + std::to_string(format) + "]\n" +
                        std::string(sectionBody));
        GageRecord gage;
        gage.InterfaceTypeNumber = static_cast<std::uint16_t>(type);
        gage.FormatNumber = static_cast<std::uint16_t>(format);
        EXPECT_EQ(LoadGageFormat(path, gage), 1);
        return gage.Format;
    }
    std::string Read(std::string_view section, std::string_view key) {
        return profile::GetString(dir.File("BRW_GAGE.DEF"), section, key, "<missing>");
    }

    ConfigTestDirectory dir;
};

// ---- Runtime form ----

TEST_F(GageFormatFileTest, MissingSectionGivesDefaults) {
    EXPECT_EQ(Runtime("DESCRIPTION=x\nMEASDELAY=5\n", 1, 2).CommandDelay, 5);
    GageRecord other;
    other.InterfaceTypeNumber = 1;
    other.FormatNumber = 3;
    other.Format.BodyLength = 77;
    EXPECT_EQ(LoadGageFormat(dir.File("BRW_GAGE.DEF"), other), 1);
    EXPECT_EQ(other.Format.BodyLength, 0);
    EXPECT_EQ(other.Format.CommandDelay, 0);
    EXPECT_EQ(other.Format.DecimalSeparator[0], '.');
    EXPECT_EQ(other.Format.ValueAField.Defined, 0);
    GageRecord noFile;
    EXPECT_EQ(LoadGageFormat(dir.File("none.def"), noFile), 1);
    EXPECT_EQ(noFile.Format.DecimalSeparator[0], '.');
}

TEST_F(GageFormatFileTest, FramingIsEncodedAndBodyLengthDerived) {
    const GageFormat format =
        Runtime("RECSTART=<2>\nRECEND=<13><10>\nRECLENGTH=12\nSEPARATOR=<CR>\nMEASCMD=?<13>\n");
    EXPECT_EQ(format.RecordStartLength, 1);
    EXPECT_EQ(format.RecordStart[0], 2);
    EXPECT_EQ(format.RecordEndLength, 2);
    EXPECT_EQ(format.RecordEnd[1], 10);
    EXPECT_EQ(format.BodyLength, 9);
    EXPECT_EQ(format.SeparatorLength, 1);
    EXPECT_EQ(format.Separator[0], 0);
    EXPECT_EQ(format.RequestSequenceLength, 2);
    EXPECT_EQ(format.RequestSequence[0], '?');
}

TEST_F(GageFormatFileTest, RecordLengthBelowFramingWrapsAndEqualMeansAnyLength) {
    EXPECT_EQ(Runtime("RECSTART=<2>\nRECEND=<13><10>\nRECLENGTH=2\n").BodyLength, 65535);
    EXPECT_EQ(Runtime("RECSTART=<2>\nRECEND=<13><10>\nRECLENGTH=3\n").BodyLength, 0);
    EXPECT_EQ(Runtime("RECSTART=<13\n").RecordStartLength, 2);
}

TEST_F(GageFormatFileTest, BitsAndFullScaleCountOnlyForBinaryTypes) {
    const GageFormat binary = Runtime("DATATYPE=2\nBITS=35\nFULLSCALE=12.5\n");
    EXPECT_EQ(binary.Bits, 35);
    EXPECT_EQ(binary.Scale, 8u);
    EXPECT_EQ(binary.FullScale, 12.5);
    const GageFormat ascii16 = Runtime("DATATYPE=3\nBITS=16\nFULLSCALE=12.5\n");
    EXPECT_EQ(ascii16.DataType, 3);
    EXPECT_EQ(ascii16.Bits, 0);
    EXPECT_EQ(ascii16.Scale, 0u);
    EXPECT_EQ(ascii16.FullScale, 0.0);
    EXPECT_EQ(Runtime("DATATYPE=1\nBITS=16\n").Scale, 65536u);
}

TEST_F(GageFormatFileTest, OlderKeysStandInWhenNewerOnesAreEmpty) {
    const GageFormat old = Runtime("VALUE1=\nMEASUREMENT=1,1,0\nMEASINIT=R\nCLEARBUFFER=3\n");
    EXPECT_EQ(old.ValueAField.Defined, 1);
    EXPECT_EQ(old.ValueAField.FieldNumber, 1);
    EXPECT_EQ(old.MeasReadCommand.view(), "R");
    EXPECT_EQ(old.Options, 3);
    const GageFormat newer = Runtime(
        "VALUE1=2,1,0\nMEASUREMENT=1,1,0\nMEAS_READ=N\nMEASINIT=R\nFMTOPTS=48\n"
        "CLEARBUFFER=3\n");
    EXPECT_EQ(newer.ValueAField.FieldNumber, 2);
    EXPECT_EQ(newer.MeasReadCommand.view(), "N");
    EXPECT_EQ(newer.Options, 48);
    EXPECT_EQ(newer.CombinationCode(), 3);
}

TEST_F(GageFormatFileTest, FieldSpecificationsFollowTheSeparator) {
    const GageFormat noSeparator = Runtime("CHANNEL=0,1,2\nREADING=2,0,3\n");
    EXPECT_EQ(noSeparator.ChannelField.Defined, 1);
    EXPECT_EQ(noSeparator.ReadingField.StartPosition, 1);
    const GageFormat separated =
        Runtime("SEPARATOR=,\nCHANNEL=0,1,2\nLITERAL=2,1,0,EQ(\"NRM\")\nCODE=\n");
    EXPECT_EQ(separated.ChannelField.Defined, 0);
    EXPECT_EQ(separated.LiteralField.Defined, 1);
    EXPECT_EQ(separated.LiteralField.Condition.view(), "EQ(\"NRM\")");
    EXPECT_EQ(separated.CodeField.Defined, 0);
}

TEST_F(GageFormatFileTest, CommandsDelaysAndDecimalSeparator) {
    const GageFormat format = Runtime(
        "GAGEINIT=INIT<13>\nMEAS_START=S\nMEASPOST=P\nSGRPSTART=A\nSGRPEND=B\n"
        "MEASDELAY=70000\nMEASTIMEOUT=1500\nSDECIMAL=,;\nGAGEINIT2=x\n"
        "MEAS_STOP=" +
        std::string(100, 'c') + "\n");
    EXPECT_EQ(format.GageInitCommand.view(), "INIT<13>");  // expanded only when sent
    EXPECT_EQ(format.MeasStartCommand.view(), "S");
    EXPECT_EQ(format.MeasPostCommand.view(), "P");
    EXPECT_EQ(format.SubgroupStartCommand.view(), "A");
    EXPECT_EQ(format.SubgroupEndCommand.view(), "B");
    EXPECT_EQ(format.CommandDelay, 70000 - 65536);
    EXPECT_EQ(format.ReadTimeout, 1500);
    EXPECT_EQ(format.DecimalSeparator[0], ',');
    EXPECT_EQ(format.MeasStopCommand.view(), std::string(63, 'c'));
}

TEST_F(GageFormatFileTest, LongByteStringsAreCutAtSixtyFourBytes) {
    const GageFormat format = Runtime("RECSTART=" + std::string(127, 'x') + "\n");
    EXPECT_EQ(format.RecordStartLength, 64);
}

// ---- Editing form and saving ----

FormatDialogInput CaliperInput() {
    FormatDialogInput input;
    input.description = "Caliper";
    input.dataType = 0;
    input.decimalSeparator = ".";
    input.separator = ",";
    input.recordStart = "<2>";
    input.recordEnd = "<13><10>";
    input.recordLength = "12";
    input.combinationChoice = 2;
    input.literal = {"2", "1", "0", "EQ", "NRM"};
    input.valueA = {"1", "1", "0", "", ""};
    input.reading = {"", "3", "4", "", ""};
    return input;
}

TEST_F(GageFormatFileTest, SaveWritesTheKeysAndTheEditingFormReadsThemBack) {
    const std::string path = Definitions("[TYPE1.4]\nDESCRIPTION=Old\nBITS=9\n");
    GageFormat editing;
    editing.GageInitCommand = "INIT";
    editing.MeasReadCommand = "READ";
    SetByteStringText(editing.RequestSequence, "<5>");
    editing.CommandDelay = 20;
    editing.Options = 0x0F01 | 0x00F0;  // combination bits are replaced
    ASSERT_EQ(SaveGageFormat(path, 1, 4, CaliperInput(), editing), FormatSaveResult::Saved);

    EXPECT_EQ(Read("TYPE1.4", "DESCRIPTION"), "Caliper");
    EXPECT_EQ(Read("TYPE1.4", "DATATYPE"), "0");
    EXPECT_EQ(Read("TYPE1.4", "BITS"), "<missing>");  // the old section is replaced whole
    EXPECT_EQ(Read("TYPE1.4", "RECSTART"), "<2>");
    EXPECT_EQ(Read("TYPE1.4", "MEASCMD"), "<5>");
    EXPECT_EQ(Read("TYPE1.4", "MEASDELAY"), "20");
    EXPECT_EQ(Read("TYPE1.4", "MEASTIMEOUT"), "<missing>");
    EXPECT_EQ(Read("TYPE1.4", "MEAS_INIT"), "<missing>");
    EXPECT_EQ(Read("TYPE1.4", "FMTOPTS"), std::to_string(0x0F01 | 0x30));
    EXPECT_EQ(Read("TYPE1.4", "LITERAL"), "2,1,0,EQ(\"NRM\")");
    EXPECT_EQ(Read("TYPE1.4", "READING"), "0,3,4");
    EXPECT_EQ(Read("TYPE1.4", "CHANNEL"), "<missing>");

    GageFormat form;
    LoadGageFormatText(path, 1, 4, form);
    EXPECT_EQ(ByteStringText(form.RecordStart), "<2>");
    EXPECT_EQ(ByteStringText(form.RecordEnd), "<13><10>");
    EXPECT_EQ(ByteStringText(form.Separator), ",");
    EXPECT_EQ(ByteStringText(form.RequestSequence), "<5>");
    EXPECT_EQ(form.RecordStartLength, 0);
    EXPECT_EQ(form.BodyLength, 12);  // as written
    EXPECT_EQ(form.GageInitCommand.view(), "INIT");
    EXPECT_EQ(form.CommandDelay, 20);
    EXPECT_EQ(form.ReadingField.StartPosition, 3);
    EXPECT_EQ(form.ReadingField.Defined, 0);
    EXPECT_EQ(form.LiteralField.Condition.view(), "EQ(\"NRM\")");
    EXPECT_EQ(form.CombinationCode(), 3);

    GageRecord gage;
    gage.InterfaceTypeNumber = 1;
    gage.FormatNumber = 4;
    LoadGageFormat(path, gage);
    EXPECT_EQ(gage.Format.BodyLength, 9);
    EXPECT_EQ(gage.Format.ValueAField.Defined, 1);
    // Field number 0 names no field of a separated record.
    EXPECT_EQ(gage.Format.ReadingField.Defined, 0);
}

TEST_F(GageFormatFileTest, SaveAlwaysWritesTheOptionWord) {
    const std::string path = Definitions("");
    FormatDialogInput input;
    input.description = "Plain";
    ASSERT_EQ(SaveGageFormat(path, 2, 1, input, GageFormat{}), FormatSaveResult::Saved);
    EXPECT_EQ(Read("TYPE2.1", "FMTOPTS"), "16");
    EXPECT_EQ(Read("TYPE2.1", "DATATYPE"), "0");
    EXPECT_EQ(Read("TYPE2.1", "SDECIMAL"), "<missing>");
}

TEST_F(GageFormatFileTest, BinaryTypesWriteFullScaleAndBitsAsTyped) {
    const std::string path = Definitions("");
    FormatDialogInput input;
    input.description = "Binary";
    input.dataType = 1;
    input.fullScale = "12.50";
    input.bits = "016";
    ASSERT_EQ(SaveGageFormat(path, 2, 1, input, GageFormat{}), FormatSaveResult::Saved);
    EXPECT_EQ(Read("TYPE2.1", "FULLSCALE"), "12.50");
    EXPECT_EQ(Read("TYPE2.1", "BITS"), "016");
    input.fullScale = "0";
    input.bits = "x";
    ASSERT_EQ(SaveGageFormat(path, 2, 1, input, GageFormat{}), FormatSaveResult::Saved);
    EXPECT_EQ(Read("TYPE2.1", "FULLSCALE"), "<missing>");
    EXPECT_EQ(Read("TYPE2.1", "BITS"), "<missing>");
    input.dataType = 0;
    input.fullScale = "5";
    input.bits = "8";
    ASSERT_EQ(SaveGageFormat(path, 2, 1, input, GageFormat{}), FormatSaveResult::Saved);
    EXPECT_EQ(Read("TYPE2.1", "BITS"), "<missing>");
}

TEST_F(GageFormatFileTest, DescriptionsAreUniqueWithinATypeIgnoringCase) {
    const std::string path =
        Definitions("[TYPE1.7]\nDESCRIPTION=CALIPER\n[TYPE2.1]\nDESCRIPTION=Gauge\n");
    const std::string before = ConfigTestDirectory::Read(path);
    EXPECT_EQ(SaveGageFormat(path, 1, 2, CaliperInput(), GageFormat{}),
              FormatSaveResult::DuplicateDescription);
    EXPECT_EQ(ConfigTestDirectory::Read(path), before);
    // The format's own number, the scratch number 0 and other types do not count.
    EXPECT_EQ(SaveGageFormat(path, 1, 7, CaliperInput(), GageFormat{}), FormatSaveResult::Saved);
    EXPECT_EQ(SaveGageFormat(path, 1, 0, CaliperInput(), GageFormat{}), FormatSaveResult::Saved);
    EXPECT_EQ(SaveGageFormat(path, 2, 3, CaliperInput(), GageFormat{}), FormatSaveResult::Saved);
    EXPECT_FALSE(IsFormatDescriptionTaken(path, 1, 8, "Gauge"));
}

TEST_F(GageFormatFileTest, ListsSkipUnusedNumbersAndNewFormatsTakeTheLowestFree) {
    const std::string path = Definitions(
        "[TYPE1.1]\nDESCRIPTION=A\n[TYPE1.2]\nDESCRIPTION=B\n[TYPE1.3]\nDESCRIPTION=\n"
        "[TYPE1.4]\nDESCRIPTION=D\n[TYPE1.101]\nDESCRIPTION=Hidden\n[TYPE1.0]\nDESCRIPTION=S\n");
    const auto formats = ListGageFormats(path, 1);
    ASSERT_EQ(formats.size(), 3u);
    EXPECT_EQ(formats[0].number, 1);
    EXPECT_EQ(formats[2].number, 4);
    EXPECT_EQ(formats[2].description, "D");
    EXPECT_EQ(LowestUnusedFormatNumber(path, 1), 3);
    EXPECT_EQ(LowestUnusedFormatNumber(path, 2), 1);
    EXPECT_TRUE(RemoveGageFormat(path, 1, 2));
    EXPECT_EQ(LowestUnusedFormatNumber(path, 1), 2);
    EXPECT_EQ(ReadGageFormatDescription(path, 1, 4), "D");
}

TEST_F(GageFormatFileTest, EditingFormOfFormatZeroIsLeftAlone) {
    const std::string path = Definitions("[TYPE1.0]\nDESCRIPTION=Scratch\nMEASDELAY=9\n");
    GageFormat form;
    form.CommandDelay = 33;
    LoadGageFormatText(path, 1, 0, form);
    EXPECT_EQ(form.CommandDelay, 33);
}

}  // namespace
}  // namespace gage
