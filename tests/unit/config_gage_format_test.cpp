// BRW_GAGE.DEF: gage formats in their runtime and editing forms, the format dialog's save, and
// the interface types with their initialisation strings.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/byte_string.h"
#include "config/gage_format_file.h"
#include "config/interface_type_file.h"
#include "config/profile_listing.h"
#include "config_test_files.h"

namespace gage {
namespace {

using test::ConfigTestDirectory;

class GageFormatFileTest : public ::testing::Test {
  protected:
    std::string Definitions(std::string_view text) { return dir.Write("BRW_GAGE.DEF", text); }
    GageFormat Runtime(std::string_view sectionBody) {
        return ReadGageFormat(Definitions("[TYPE1.1]\n" + std::string(sectionBody)), 1, 1);
    }
    // The keys of a section as the file holds them, "KEY=value;" each.
    std::string Section(std::string_view name) const {
        std::string keys;
        const std::string bytes = ConfigTestDirectory::Read(dir.File("BRW_GAGE.DEF"));
        for (const auto& section : profile::ListProfile(bytes).sections) {
            for (const auto& key : section.keys) {
                keys += section.name == name ? key.name + "=" + key.value + ";" : "";
            }
        }
        return keys;
    }

    ConfigTestDirectory dir;
};

TEST_F(GageFormatFileTest, MissingFileOrSectionGivesDefaults) {
    Definitions("[TYPE1.2]\nDESCRIPTION=x\nMEASDELAY=5\n");
    GageRecord other;
    other.InterfaceTypeNumber = 1;
    other.FormatNumber = 3;
    other.Format.BodyLength = 77;
    EXPECT_EQ(LoadGageFormat(dir.File("BRW_GAGE.DEF"), other), 1);
    EXPECT_EQ(other.Format.BodyLength, 0);
    EXPECT_EQ(other.Format.CommandDelay, 0);
    EXPECT_EQ(other.Format.DecimalSeparator[0], '.');
    EXPECT_EQ(other.Format.ValueAField.Defined, 0);
    EXPECT_EQ(ReadGageFormat(dir.File("BRW_GAGE.DEF"), 1, 2).CommandDelay, 5);
    GageRecord noFile;
    EXPECT_EQ(LoadGageFormat(dir.File("none.def"), noFile), 1);
    EXPECT_EQ(noFile.Format.DecimalSeparator[0], '.');
}

TEST_F(GageFormatFileTest, FramingIsEncodedAndBodyLengthDerived) {
    const GageFormat format =
        Runtime("RECSTART=<2>\nRECEND=<13><10>\nRECLENGTH=12\nSEPARATOR=<CR>\nMEASCMD=?<13>\n");
    EXPECT_EQ(std::string(format.RecordStart.begin(),
                          format.RecordStart.begin() + format.RecordStartLength),
              "\x02");
    EXPECT_EQ(
        std::string(format.RecordEnd.begin(), format.RecordEnd.begin() + format.RecordEndLength),
        "\r\n");
    EXPECT_EQ(format.BodyLength, 9);
    EXPECT_EQ(format.SeparatorLength, 1);
    EXPECT_EQ(format.Separator[0], 0);
    EXPECT_EQ(format.RequestSequenceLength, 2);
    EXPECT_EQ(format.RequestSequence[0], '?');
    // A record length below the framing wraps; equal to it means any length.
    EXPECT_EQ(Runtime("RECSTART=<2>\nRECEND=<13><10>\nRECLENGTH=2\n").BodyLength, 65535);
    EXPECT_EQ(Runtime("RECSTART=<2>\nRECEND=<13><10>\nRECLENGTH=3\n").BodyLength, 0);
}

TEST_F(GageFormatFileTest, BitsAndFullScaleCountOnlyForBinaryTypes) {
    const GageFormat binary = Runtime("DATATYPE=2\nBITS=35\nFULLSCALE=12.5\n");
    EXPECT_EQ(binary.Bits, 35);
    EXPECT_EQ(binary.Scale, 8u);
    EXPECT_EQ(binary.FullScale, 12.5);
    const GageFormat ascii = Runtime("DATATYPE=3\nBITS=16\nFULLSCALE=12.5\n");
    EXPECT_EQ(ascii.DataType, 3);
    EXPECT_EQ(ascii.Bits, 0);
    EXPECT_EQ(ascii.Scale, 0u);
    EXPECT_EQ(ascii.FullScale, 0.0);
    EXPECT_EQ(Runtime("DATATYPE=1\nBITS=16\n").Scale, 65536u);
}

TEST_F(GageFormatFileTest, OlderKeysStandInAndFieldSpecificationsFollowTheSeparator) {
    const GageFormat old = Runtime("VALUE1=\nMEASUREMENT=1,1,0\nMEASINIT=R\nCLEARBUFFER=3\n");
    EXPECT_EQ(old.ValueAField.Defined, 1);
    EXPECT_EQ(old.ValueAField.FieldNumber, 1);
    EXPECT_EQ(old.MeasReadCommand.view(), "R");
    EXPECT_EQ(old.Options, 3);
    const GageFormat newer = Runtime(
        "VALUE1=2,1,0\nMEASUREMENT=1,1,0\nMEAS_READ=N\nMEASINIT=R\nFMTOPTS=48\nCLEARBUFFER=3\n");
    EXPECT_EQ(newer.ValueAField.FieldNumber, 2);
    EXPECT_EQ(newer.MeasReadCommand.view(), "N");
    EXPECT_EQ(newer.Options, 48);
    EXPECT_EQ(newer.CombinationCode(), 3);

    const GageFormat noSeparator = Runtime("CHANNEL=0,1,2\nREADING=2,0,3\n");
    EXPECT_EQ(noSeparator.ChannelField.Defined, 1);
    EXPECT_EQ(noSeparator.ReadingField.StartPosition, 1);
    const GageFormat separated =
        Runtime("SEPARATOR=,\nCHANNEL=0,1,2\nLITERAL=2,1,0,EQ(\"NRM\")\nCODE=\n");
    EXPECT_EQ(separated.ChannelField.Defined, 0);
    EXPECT_EQ(separated.LiteralField.Condition.view(), "EQ(\"NRM\")");
    EXPECT_EQ(separated.CodeField.Defined, 0);
}

TEST_F(GageFormatFileTest, CommandsDelaysAndDecimalSeparator) {
    const GageFormat format = Runtime(
        "GAGEINIT=INIT<13>\nMEAS_START=S\nMEASPOST=P\nSGRPSTART=A\nSGRPEND=B\nMEASDELAY=70000\n"
        "MEASTIMEOUT=1500\nSDECIMAL=,;\nGAGEINIT2=x\nMEAS_STOP=" +
        std::string(100, 'c') + "\n");
    EXPECT_EQ(format.GageInitCommand.view(), "INIT<13>");  // expanded only when sent
    EXPECT_EQ(format.MeasStartCommand.str() + format.MeasPostCommand.str() +
                  format.SubgroupStartCommand.str() + format.SubgroupEndCommand.str(),
              "SPAB");
    EXPECT_EQ(format.CommandDelay, 70000 - 65536);
    EXPECT_EQ(format.ReadTimeout, 1500);
    EXPECT_EQ(format.DecimalSeparator[0], ',');
    EXPECT_EQ(format.MeasStopCommand.view(), std::string(63, 'c'));
}

TEST_F(GageFormatFileTest, SaveWritesTheKeysAndTheEditingFormReadsThemBack) {
    const std::string path = Definitions("[TYPE1.4]\nDESCRIPTION=Old\nBITS=9\n");
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
    GageFormat editing;
    editing.GageInitCommand = "INIT";
    editing.MeasReadCommand = "READ";
    SetByteStringText(editing.RequestSequence, "<5>");
    editing.CommandDelay = 20;
    editing.Options = 0x0F01 | 0x00F0;  // combination bits are replaced
    ASSERT_EQ(SaveGageFormat(path, 1, 4, input, editing), FormatSaveResult::Saved);
    // The old section is replaced whole.
    EXPECT_EQ(Section("TYPE1.4"),
              "DESCRIPTION=Caliper;DATATYPE=0;SDECIMAL=.;SEPARATOR=,;RECSTART=<2>;RECEND=<13><10>;"
              "RECLENGTH=12;GAGEINIT=INIT;MEAS_READ=READ;MEASCMD=<5>;MEASDELAY=20;FMTOPTS=3889;"
              "LITERAL=2,1,0,EQ(\"NRM\");VALUE1=1,1,0;READING=0,3,4;");

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
    const GageFormat runtime = ReadGageFormat(path, 1, 4);
    EXPECT_EQ(runtime.BodyLength, 9);
    EXPECT_EQ(runtime.ValueAField.Defined, 1);
    EXPECT_EQ(runtime.ReadingField.Defined, 0);  // field 0 names no field of a separated record

    form.CommandDelay = 33;  // the editing form of the scratch format 0 is left alone
    LoadGageFormatText(Definitions("[TYPE1.0]\nDESCRIPTION=Scratch\nMEASDELAY=9\n"), 1, 0, form);
    EXPECT_EQ(form.CommandDelay, 33);
}

TEST_F(GageFormatFileTest, SaveWritesTheOptionWordAndBinaryFieldsOnlyAsTyped) {
    const std::string path = Definitions("");
    FormatDialogInput input;
    input.description = "Plain";
    const struct {
        int dataType;
        const char* fullScale;
        const char* bits;
        const char* keys;
    } cases[] = {
        {-1, "", "", "DESCRIPTION=Plain;DATATYPE=0;FMTOPTS=16;"},
        {1, "12.50", "016", "DESCRIPTION=Plain;DATATYPE=1;FULLSCALE=12.50;BITS=016;FMTOPTS=16;"},
        {1, "0", "x", "DESCRIPTION=Plain;DATATYPE=1;FMTOPTS=16;"},
        {0, "5", "8", "DESCRIPTION=Plain;DATATYPE=0;FMTOPTS=16;"}};
    for (const auto& c : cases) {
        input.dataType = c.dataType;
        input.fullScale = c.fullScale;
        input.bits = c.bits;
        ASSERT_EQ(SaveGageFormat(path, 2, 1, input, GageFormat{}), FormatSaveResult::Saved);
        EXPECT_EQ(Section("TYPE2.1"), c.keys) << c.dataType << c.bits;
    }
}

TEST_F(GageFormatFileTest, DescriptionsListsAndNumbers) {
    FormatDialogInput caliper;
    caliper.description = "Caliper";
    const std::string path = Definitions(
        "[TYPE1.1]\nDESCRIPTION=A\n[TYPE1.2]\nDESCRIPTION=B\n[TYPE1.3]\nDESCRIPTION=\n"
        "[TYPE1.4]\nDESCRIPTION=D\n[TYPE1.101]\nDESCRIPTION=Hidden\n[TYPE1.0]\nDESCRIPTION=S\n"
        "[TYPE1.7]\nDESCRIPTION=CALIPER\n[TYPE2.1]\nDESCRIPTION=Gauge\n");
    const std::string before = ConfigTestDirectory::Read(path);
    // Unique within a type, ignoring case; the format's own number, the scratch number 0 and
    // other types do not count.
    EXPECT_EQ(SaveGageFormat(path, 1, 2, caliper, GageFormat{}),
              FormatSaveResult::DuplicateDescription);
    EXPECT_EQ(ConfigTestDirectory::Read(path), before);
    EXPECT_FALSE(IsFormatDescriptionTaken(path, 1, 8, "Gauge"));
    EXPECT_EQ(SaveGageFormat(path, 1, 7, caliper, GageFormat{}), FormatSaveResult::Saved);
    EXPECT_EQ(SaveGageFormat(path, 2, 3, caliper, GageFormat{}), FormatSaveResult::Saved);
    EXPECT_EQ(SaveGageFormat(path, 1, 0, caliper, GageFormat{}), FormatSaveResult::Saved);

    std::string listed;  // formats 1 to 100 with a description
    for (const auto& entry : ListGageFormats(path, 1)) {
        listed += std::to_string(entry.number) + "=" + entry.description + ";";
    }
    EXPECT_EQ(listed, "1=A;2=B;4=D;7=Caliper;");
    EXPECT_EQ(LowestUnusedFormatNumber(path, 1), 3);
    EXPECT_EQ(LowestUnusedFormatNumber(path, 3), 1);
    EXPECT_TRUE(RemoveGageFormat(path, 1, 2));
    EXPECT_EQ(LowestUnusedFormatNumber(path, 1), 2);
    EXPECT_EQ(ReadGageFormatDescription(path, 1, 4), "D");
}

TEST_F(GageFormatFileTest, InterfaceTypesAndTheirInitStrings) {
    const std::string path = Definitions(
        "[TYPE1]\nDESCRIPTION=One\nINIT7=1,X\n[TYPE2]\nDESCRIPTION=Mux\nINIT1=500,ABC,DEF\nINIT2="
        "nocomma\n"
        "INIT3=100,\nINIT5=x,\"quoted,text\"tail\nINIT20=0,LAST\nINIT21=0,never\n"
        "[TYPE4]\nDESCRIPTION=Four\n[TYPE2.0]\nDESCRIPTION=Scratch\n[TYPE2.1]\nDESCRIPTION=F1\n"
        "[TYPE2.100]\nDESCRIPTION=F100\n[TYPE2.101]\nDESCRIPTION=F101\n[TYPE20.1]\n"
        "DESCRIPTION=Other\n");
    const auto strings = [&](int type) {
        std::string text;
        for (const auto& init : ReadInitStrings(path, type)) {
            text += std::to_string(init.delay) + ":" + init.command + ";";
        }
        return text;
    };
    EXPECT_EQ(strings(2), "500:ABC,DEF;0:quoted,text;0:LAST;");
    EXPECT_EQ(strings(3), "");
    EXPECT_EQ(ReadInterfaceTypeDescription(path, 2), "Mux");
    std::string listed;
    for (const auto& entry : ListInterfaceTypes(path)) {
        listed += std::to_string(entry.number) + "=" + entry.description + ";";
    }
    EXPECT_EQ(listed, "1=One;2=Mux;4=Four;");
    EXPECT_EQ(LowestUnusedInterfaceTypeNumber(path), 3);

    // Removing a type removes its formats 0 to 100, not those beyond nor those of other types.
    ASSERT_TRUE(RemoveInterfaceType(path, 2));
    EXPECT_EQ(ReadInterfaceTypeDescription(path, 2) + ReadGageFormatDescription(path, 2, 0) +
                  ReadGageFormatDescription(path, 2, 100),
              "");
    EXPECT_EQ(ReadGageFormatDescription(path, 2, 101), "F101");
    EXPECT_EQ(ReadGageFormatDescription(path, 20, 1), "Other");
    EXPECT_EQ(LowestUnusedInterfaceTypeNumber(path), 2);

    // The writer numbers the keys without gaps, skipping empty commands.
    ASSERT_TRUE(WriteInterfaceType(path, 1, "New", {{500, "ABC,DEF"}, {300, ""}, {0, "GO"}}));
    EXPECT_EQ(Section("TYPE1"), "DESCRIPTION=New;INIT1=500,ABC,DEF;INIT2=0,GO;");
    EXPECT_EQ(strings(1), "500:ABC,DEF;0:GO;");
}

}  // namespace
}  // namespace gage
