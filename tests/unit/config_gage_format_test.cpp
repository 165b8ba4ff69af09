// BRW_GAGE.DEF: gage formats in their runtime and editing forms, the format dialog's save, and
// the interface types with their initialisation strings.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/byte_string.h"
#include "config/c_number_text.h"
#include "config/gage_format_file.h"
#include "config/interface_type_file.h"
#include "config/profile_listing.h"
#include "config_test_files.h"

namespace gage {
namespace {

using test::ConfigTestDirectory;

// The numbers of a format: lengths of start, end, separator and request and the body's | delay,
// timeout and options | data type, bits, scale and full scale | decimal separator.
std::string Numbers(const GageFormat& f) {
    const auto n = [](auto v) { return std::to_string(v) + " "; };
    return n(f.RecordStartLength) + n(f.RecordEndLength) + n(f.SeparatorLength) +
           n(f.RequestSequenceLength) + n(f.BodyLength) + "| " + n(f.CommandDelay) +
           n(f.ReadTimeout) + n(f.Options) + "| " + n(f.DataType) + n(f.Bits) + n(f.Scale) +
           FormatCReal(f.FullScale) + " | " + f.DecimalSeparator[0];
}
// The fields a format sets (channel, code, literal, value A and B, reading), as
// "letter=defined,field,start,length,condition " each.
std::string Specs(const GageFormat& f) {
    std::string text;
    const std::pair<char, const FieldSpec*> specs[] = {
        {'C', &f.ChannelField}, {'K', &f.CodeField},   {'L', &f.LiteralField},
        {'A', &f.ValueAField},  {'B', &f.ValueBField}, {'R', &f.ReadingField}};
    for (const auto& [letter, s] : specs) {
        if (s->Defined || s->FieldNumber || s->StartPosition || s->Length ||
            !s->Condition.empty()) {
            text += std::string(1, letter) + "=" + std::to_string(s->Defined) + "," +
                    std::to_string(s->FieldNumber) + "," + std::to_string(s->StartPosition) + "," +
                    std::to_string(s->Length) + "," + s->Condition.str() + " ";
        }
    }
    return text;
}
// The commands init, measurement init, start, stop, read and post, subgroup start and end.
std::string Commands(const GageFormat& f) {
    return f.GageInitCommand.str() + "|" + f.MeasInitCommand.str() + "|" +
           f.MeasStartCommand.str() + "|" + f.MeasStopCommand.str() + "|" +
           f.MeasReadCommand.str() + "|" + f.MeasPostCommand.str() + "|" +
           f.SubgroupStartCommand.str() + "|" + f.SubgroupEndCommand.str();
}
// "number=description;" of each entry.
std::string Listed(const std::vector<DefinitionEntry>& entries) {
    std::string text;
    for (const auto& entry : entries) {
        text += std::to_string(entry.number) + "=" + entry.description + ";";
    }
    return text;
}

class GageFormatFileTest : public ::testing::Test {
  protected:
    std::string Definitions(std::string_view text) { return dir.Write("BRW_GAGE.DEF", text); }
    // The format a gage loads, over a stale one: nothing of the old format may stay.
    GageFormat Runtime(std::string_view sectionBody) {
        GageRecord gage;
        gage.InterfaceTypeNumber = 1;
        gage.FormatNumber = 1;
        gage.Format.BodyLength = 77;
        gage.Format.ValueAField.Defined = 1;
        gage.Format.DecimalSeparator[0] = ',';
        EXPECT_EQ(LoadGageFormat(Definitions("[TYPE1.1]\n" + std::string(sectionBody)), gage), 1);
        return gage.Format;
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

TEST_F(GageFormatFileTest, TheRuntimeFormsNumbersFieldsAndCommands) {
    const std::string huge(100000, 'x');
    // clang-format off
    const std::pair<std::string, const char*> numbers[] = {{"", "0 0 0 0 0 | 0 0 0 | 0 0 0 0 | ."},
        {"RECSTART=<2>\nRECEND=<13><10>\nRECLENGTH=12\nSEPARATOR=<CR>\nMEASCMD=?<13>\n",
         "1 2 1 2 9 | 0 0 0 | 0 0 0 0 | ."},
        // A record length below the framing wraps; equal to it means any length.
        {"RECSTART=<2>\nRECEND=<13><10>\nRECLENGTH=2\n", "1 2 0 0 65535 | 0 0 0 | 0 0 0 0 | ."},
        {"RECSTART=<2>\nRECEND=<13><10>\nRECLENGTH=3\n", "1 2 0 0 0 | 0 0 0 | 0 0 0 0 | ."},
        // Bits and full scale count only for binary types; the scale is 2 to the bits mod 32.
        {"DATATYPE=2\nBITS=35\nFULLSCALE=12.5\n", "0 0 0 0 0 | 0 0 0 | 2 35 8 12.5 | ."},
        {"DATATYPE=3\nBITS=16\nFULLSCALE=12.5\n", "0 0 0 0 0 | 0 0 0 | 3 0 0 0 | ."},
        {"DATATYPE=1\nBITS=-1\n", "0 0 0 0 0 | 0 0 0 | 1 65535 2147483648 0 | ."},
        {"CLEARBUFFER=3\n", "0 0 0 0 0 | 0 0 3 | 0 0 0 0 | ."} /* the older key of FMTOPTS */,
        {"FMTOPTS=48\nCLEARBUFFER=3\n", "0 0 0 0 0 | 0 0 48 | 0 0 0 0 | ."},
        {"MEASDELAY=70000\nMEASTIMEOUT=1500\nSDECIMAL=,;\n", "0 0 0 0 0 | 4464 1500 0 | 0 0 0 0 | ,"},
        {"SEPARATOR=" + huge + "\n", "0 0 64 0 0 | 0 0 0 | 0 0 0 0 | ."}};
    // Older keys stand in for newer ones that are missing; with a separator, field 0 names no
    // field; a start of 0 is 1; a condition has room for 23 characters.
    const std::string a23 = "EQ(\"" + std::string(17, 'A') + "\")";
    const std::pair<std::string, std::string> specs[] = {
        {"VALUE1=\nMEASUREMENT=1,1,0\n", "A=1,1,1,0, "}, {"VALUE1=2,1,0\nMEASUREMENT=1,1,0\n", "A=1,2,1,0, "},
        {"CHANNEL=0,1,2\nREADING=2,0,3\n", "C=1,0,1,2, R=1,2,1,3, "},
        {"CODE=1,5,4,NE(\"0\")\nLITERAL=1,1,0," + a23 + "\nVALUE2=2\nREADING=1,1,0,EQ(\"A" +
             a23.substr(4), "K=1,1,5,4,NE(\"0\") L=1,1,1,0," + a23 + " B=1,2,1,0, R=1,1,1,0, "},
        {"SEPARATOR=,\nCHANNEL=0,1,2\nLITERAL=2,1,0,EQ(\"N\",\"R\")\nCODE=\nVALUE1=1,1,0," + huge,
         "L=1,2,1,0,EQ(\"N\",\"R\") A=1,1,1,0, "}};
    // clang-format on
    for (const auto& [body, expected] : numbers) {
        EXPECT_EQ(Numbers(Runtime(body)), expected) << body.substr(0, 60);
    }
    for (const auto& [body, expected] : specs) {
        EXPECT_EQ(Specs(Runtime(body)), expected) << body.substr(0, 60);
    }
    // The framing bytes reach their fields in the learned formats' read-back (learn_format_test).
    const GageFormat f = Runtime("MEASCMD=?<13>\n");
    EXPECT_EQ(std::string(f.RequestSequence.begin(), f.RequestSequence.begin() + 2), "?\r");
    // Commands are expanded only when sent and cut to 63 characters; MEASINIT is the older key
    // of MEAS_READ.
    EXPECT_EQ(Commands(Runtime("GAGEINIT=INIT<13>\nMEAS_START=S\nMEASPOST=P\nSGRPSTART=A\n"
                               "SGRPEND=B\nMEASINIT=R\nGAGEINIT2=x\nMEAS_STOP=" +
                               std::string(100, 'c') + "\n")),
              "INIT<13>||S|" + std::string(63, 'c') + "|R|P|A|B");
    EXPECT_EQ(Commands(Runtime("MEAS_READ=N\nMEASINIT=R\n")), "||||N|||");
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
    editing.CommandDelay = 20;
    editing.Options = 0x0F01 | 0x00F0;  // combination bits are replaced
    SetByteStringText(editing.RequestSequence, "<5>");
    ASSERT_EQ(SaveGageFormat(path, 1, 4, input, editing), FormatSaveResult::Saved);
    // The old section is replaced whole.
    EXPECT_EQ(Section("TYPE1.4"),
              "DESCRIPTION=Caliper;DATATYPE=0;SDECIMAL=.;SEPARATOR=,;RECSTART=<2>;RECEND=<13><10>;"
              "RECLENGTH=12;GAGEINIT=INIT;MEAS_READ=READ;MEASCMD=<5>;MEASDELAY=20;FMTOPTS=3889;"
              "LITERAL=2,1,0,EQ(\"NRM\");VALUE1=1,1,0;READING=0,3,4;");

    // The editing form keeps the texts and the record length as written and defines no field.
    GageFormat form;
    LoadGageFormatText(path, 1, 4, form);
    const auto text = [](const ByteString& bytes) { return std::string(ByteStringText(bytes)); };
    EXPECT_EQ(text(form.RecordStart) + text(form.RecordEnd) + text(form.Separator) +
                  text(form.RequestSequence),
              "<2><13><10>,<5>");
    EXPECT_EQ(Numbers(form), "0 0 0 0 12 | 20 0 3889 | 0 0 0 0 | .");
    EXPECT_EQ(Specs(form), "L=0,2,1,0,EQ(\"NRM\") A=0,1,1,0, R=0,0,3,4, ");
    EXPECT_EQ(Commands(form), "INIT||||READ|||");
    EXPECT_EQ(form.CombinationCode(), 3);
    form.CommandDelay = 33;  // the editing form of the scratch format 0 is left alone
    LoadGageFormatText(Definitions("[TYPE1.0]\nDESCRIPTION=Scratch\nMEASDELAY=9\n"), 1, 0, form);
    EXPECT_EQ(form.CommandDelay, 33);
}

TEST_F(GageFormatFileTest, SaveWritesTheOptionWordAndBinaryFieldsOnlyAsTyped) {
    const std::string path = Definitions("");
    FormatDialogInput input;
    input.description = "Plain";
    // clang-format off
    const struct { int dataType; const char *fullScale, *bits, *keys; } cases[] = {
        {-1, "", "", "DESCRIPTION=Plain;DATATYPE=0;FMTOPTS=16;"},
        {1, "12.50", "016", "DESCRIPTION=Plain;DATATYPE=1;FULLSCALE=12.50;BITS=016;FMTOPTS=16;"},
        {1, "0", "x", "DESCRIPTION=Plain;DATATYPE=1;FMTOPTS=16;"},
        {0, "5", "8", "DESCRIPTION=Plain;DATATYPE=0;FMTOPTS=16;"}};
    // clang-format on
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

    EXPECT_EQ(Listed(ListGageFormats(path, 1)), "1=A;2=B;4=D;7=Caliper;");  // 1 to 100 only
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
    std::string strings;
    for (const auto& init : ReadInitStrings(path, 2)) {
        strings += std::to_string(init.delay) + ":" + init.command + ";";
    }
    EXPECT_EQ(strings, "500:ABC,DEF;0:quoted,text;0:LAST;");
    EXPECT_TRUE(ReadInitStrings(path, 3).empty());
    EXPECT_EQ(ReadInterfaceTypeDescription(path, 2), "Mux");
    EXPECT_EQ(Listed(ListInterfaceTypes(path)), "1=One;2=Mux;4=Four;");

    // Removing a type removes its formats 0 to 100, not those beyond nor those of other types.
    ASSERT_TRUE(RemoveInterfaceType(path, 2));
    EXPECT_EQ(ReadInterfaceTypeDescription(path, 2) + ReadGageFormatDescription(path, 2, 0) +
                  ReadGageFormatDescription(path, 2, 100),
              "");
    EXPECT_EQ(ReadGageFormatDescription(path, 2, 101), "F101");
    EXPECT_EQ(ReadGageFormatDescription(path, 20, 1), "Other");
    EXPECT_EQ(LowestUnusedInterfaceTypeNumber(path), 2);
}

}  // namespace
}  // namespace gage
