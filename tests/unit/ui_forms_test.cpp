// What the dialogs decide, without a window: the configuration lists and deletes, the data port
// entries, format definitions, gage setup, the gage bar, interface types and the monitor's texts.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "channels/tcp_channel.h"
#include "config/byte_string.h"
#include "config/profile.h"
#include "config_test_files.h"
#include "helpers/message_box_recorder.h"
#include "helpers/serial_record.h"
#include "reading/reading_result.h"
#include "reading_test_support.h"
#include "support/support.h"
#include "ui/forms/ascii_picker_form.h"
#include "ui/forms/config_form.h"
#include "ui/forms/data_port_form.h"
#include "ui/forms/format_definition_form.h"
#include "ui/forms/gage_bar_form.h"
#include "ui/forms/gage_setup_form.h"
#include "ui/forms/interface_config_form.h"
#include "ui/forms/monitor_text.h"
#include "ui/forms/serial_monitor_form.h"

namespace gage {
namespace {

using namespace testing_support;

ConnectionRecord& Serial(ConnectionTable& table, int row, const char* name, int port) {
    ConnectionRecord& record = table[static_cast<std::size_t>(row)];
    record.Name = name;
    test::MakeSerial9600(record, port);
    return record;
}

// An engine, a gage table and the forms' context over them.
struct UiFixture {
    test::ConfigTestDirectory dir;
    EngineFixture engine;
    GageTable gages;
    WindowHandle configDialog = nullptr;
    UiContext context{engine.context, gages, configDialog};
};

TEST(ConfigForm, ListLinesShowNamedRowsWithTheirSources) {
    EngineFixture engine;
    Serial(engine.connections, 0, "Bench", 1);
    Serial(engine.connections, 2, "", 4);  // configured but unnamed: not listed
    ConnectionRecord& tcp = Serial(engine.connections, 5, "Line 2", 4001);
    tcp.Kind = KIND_TCPIP;
    tcp.HostName = "127.0.0.1";
    Serial(engine.connections, 7, "Spare", 0);

    EXPECT_EQ(ConnectionLines(engine.support, engine.connections),
              (std::vector<ListLine>{{"Bench\tCOM1:9600,n,8,1", 0},
                                     {"Line 2\t127.0.0.1:4001", 5},
                                     {"Spare\t(undefined)", 7}}));

    const GageTable gages{NamedGage("Caliper", 5), NamedGage("", 0), NamedGage("Bore", 0),
                          NamedGage("Lost", 64)};
    EXPECT_EQ(GageLines(engine.support, engine.connections, gages),
              (std::vector<ListLine>{{"Caliper\tLine 2 (127.0.0.1:4001)", 0x00050000u},
                                     {"Bore\tBench (COM1:9600,n,8,1)", 0x00000002u},
                                     {"Lost\t", 0x00400003u}}));
}

TEST(ConfigForm, NewGagesAndTheRowsTheyGetInto) {
    EXPECT_EQ(std::pair(NewGage().Gain, NewGage().Precision), std::pair(1.0, 7));  // gain 0: all 0

    GageTable gages(0xFFFF);
    EXPECT_TRUE(PrepareGageRow(gages));  // index 65535 still fits the item data
    EXPECT_GE(gages.capacity(), 0x10000u);
    gages.emplace_back();
    EXPECT_FALSE(PrepareGageRow(gages));
    EXPECT_EQ(GageIndexOfLine(gages, 0x0001FFFFu), 0xFFFF);
    gages.resize(3);
    EXPECT_EQ(GageIndexOfLine(gages, 0x00010003u), std::nullopt);

    ConnectionTable connections;
    EXPECT_EQ(FirstFreeConnectionRow(connections), 0);
    for (ConnectionRecord& connection : connections) {
        connection.Name = "c";
    }
    EXPECT_EQ(FirstFreeConnectionRow(connections), std::nullopt);
    connections[40].Name.clear();
    EXPECT_EQ(FirstFreeConnectionRow(connections), 40);
}

TEST(ConfigForm, DeletingAConnectionClearsItAndEveryGageOnIt) {
    EngineFixture engine;
    Serial(engine.connections, 0, "Bench", 0);
    Serial(engine.connections, 3, "Line 2", 0);
    engine.Hold(0, "pending");
    GageTable gages{NamedGage("Caliper", 0), NamedGage("Depth", 3), NamedGage("Bore", 0),
                    NamedGage("Height", 0)};
    // The list is sorted: Bore, Caliper, Depth, Height.
    const std::vector<std::uint32_t> lines{0x00000002u, 0x00000000u, 0x00030001u, 0x00000003u};

    EXPECT_EQ(RemoveConnection(engine.context, gages, 0, lines), (std::vector<int>{0, 0, 1}));
    const ConnectionRecord& removed = engine.connections[0];
    EXPECT_EQ(std::tuple(removed.Name.empty(), removed.PortNumber, removed.HasReceiveBuffer()),
              std::tuple(true, 0, false));
    EXPECT_EQ(engine.connections[3].Name.str(), "Line 2");
    // Rows are only cleared (the reload renumbers); a row outside the table changes nothing.
    EXPECT_TRUE(RemoveConnection(engine.context, gages, 64, lines).empty());
    EXPECT_EQ(std::count_if(gages.begin(), gages.end(), [](auto& g) { return g.IsNamed(); }), 1);
    EXPECT_TRUE(gages[1].IsNamed());
}

constexpr std::uint32_t kLoopback = 0x0100007Fu;  // 127.0.0.1 in network byte order

// TCP/IP entries: the host form with host and port, or the octet form 127.0.0.1 with the port.
DataPortEntries TcpEntries(bool hostForm, const char* host, const char* port) {
    DataPortEntries entries;
    entries.source = kSourceTcp;
    entries.hostForm = hostForm;
    entries.host = host;
    entries.hostPort = entries.octetPort = port;
    entries.octets = {"127", "0", "0", "1"};
    return entries;
}

class DataPortFormTest : public ::testing::Test {
  protected:
    // Ports 2 and 5 can be opened; "bench.local" resolves to the loopback address.
    DataPortForm Form(bool modify = false) {
        return DataPortForm(
            engine.context, record, modify, [](int port) { return port == 2 || port == 5; },
            [](const std::string& host) {
                return host == "bench.local" ? kLoopback : kInaddrNone;
            });
    }
    testing_support::EngineFixture engine;
    ConnectionRecord record;
};

// The sources are the openable ports between undefined and TCP/IP.
TEST_F(DataPortFormTest, AbsentPortAndUnlistedSettingsOpenAsUndefinedAndDefaults) {
    // The prefix is the settings' default "COM". Port 7 is not openable now.
    record.PortNumber = 7;
    record.BaudRate = 1234;
    record.Parity = 3;
    record.DataBits = 7;
    record.StopBits = 9;
    record.BufferSize = 4096;
    DataPortForm form = Form();
    const std::vector<ComboLine> sources = form.SourceLines();
    std::string listed;
    for (const ComboLine& line : sources) {
        listed += line.text + "=" + std::to_string(line.data) + " ";
    }
    EXPECT_EQ(listed, "(undefined)=" + std::to_string(kSourceUndefined) +
                          " COM2=2 COM5=5 TCP/IP=" + std::to_string(kSourceTcp) + " ");
    const DataPortOpening shown = form.Open(sources);
    EXPECT_EQ(shown.source, kSourceUndefined);
    EXPECT_EQ(shown.serial, (std::array<std::int32_t, kSerialListCount>{9600, 3, 7, 1, 1, 1024}));
    EXPECT_EQ(std::pair(form.Working().BaudRate, form.Working().BufferSize),
              std::pair(9600u, 1024));

    // OK without choosing: stored with port 0 and the settings shown, no port opened.
    DataPortEntries entries;
    entries.interfaceType = ComboLine{"Bench converter", 4};
    entries.source = shown.source;
    std::copy(shown.serial.begin(), shown.serial.end(), entries.serial.begin());
    EXPECT_EQ(form.Apply(nullptr, entries), 1);
    form.Finish(record);
    EXPECT_EQ(std::tuple(record.PortNumber, record.Parity, record.InterfaceType),
              std::tuple(0, 3u, std::uint16_t{4}));
    EXPECT_EQ(record.Name.view(), "Bench converter");
}

TEST_F(DataPortFormTest, TcpEntriesAreCheckedAndTheOctetFormEmptiesTheHost) {
    record.Kind = KIND_TCPIP;
    record.HostName = "bench.local";
    record.PortNumber = 4001;
    DataPortForm form = Form();
    const DataPortOpening shown = form.Open(form.SourceLines());
    EXPECT_EQ(std::tie(shown.source, shown.hostForm, shown.hostPort, shown.resolved),
              std::tuple(kSourceTcp, true, "4001", "127.0.0.1"));

    // Port 1 would load, but is refused here.
    const std::tuple<bool, const char*, const char*, int> cases[] = {
        {true, "bench.local", "1", 0},
        {true, "bench.local", "65535", 0},
        {true, "nowhere.invalid", "4001", 0},
        {true, "bench.local", "2", 1},
        {false, "", "65534", 1}};
    for (const auto& [hostForm, host, port, accepted] : cases) {
        EXPECT_EQ(form.Apply(nullptr, TcpEntries(hostForm, host, port)), accepted)
            << host << ":" << port;
    }
    form.Finish(record);
    EXPECT_EQ(record.HostName.view(), "");
    EXPECT_EQ(std::tuple(record.BaudRate, record.Parity, record.IpAddress, record.TcpPort),
              std::tuple(127u, 1u, kLoopback, std::uint16_t{65534}));
}

TEST_F(DataPortFormTest, CancelRestoresTheRecordAsItWas) {
    record.Name = "Line 1";
    record.PortNumber = 5;
    record.BaudRate = 4800;
    DataPortForm form = Form(true);
    EXPECT_TRUE(form.Modify());
    form.Open(form.SourceLines());
    DataPortEntries entries = TcpEntries(false, "", "23");
    entries.interfaceType = ComboLine{"Other", 2};
    EXPECT_EQ(form.Apply(nullptr, entries), 1);
    form.Cancel();
    form.Finish(record);
    EXPECT_EQ(record.Name.view(), "Line 1");
    EXPECT_EQ(std::tuple(record.Kind, record.PortNumber, record.BaudRate),
              std::tuple(KIND_SERIAL, 5, 4800u));
}

TEST(DataPortLists, TimedResolverAnswersDottedAndKnownNames) {
    testing_support::EngineFixture engine;
    ASSERT_EQ(TcpStartup(engine.channels), 1);   // Windows looks names up once sockets started
    engine.settings.TcpConnectionTimeout = 0.0;  // a blocking connect: still a bounded look-up
    const HostResolver resolve = TimedHostResolver(engine.settings);
    EXPECT_EQ(resolve("127.0.0.1"), kLoopback);
    EXPECT_EQ(resolve("localhost"), kLoopback);  // looked up on a thread of its own
    EXPECT_EQ(resolve(""), kInaddrNone);
    TcpShutdown(engine.channels, engine.connections);
}

TEST(DataPortLists, InterfaceTypesAndSerialListsAsOffered) {
    test::ConfigTestDirectory dir;
    const std::string path =
        dir.Write("BRW_GAGE.DEF",
                  "[TYPE3]\nDESCRIPTION=Mux\n[TYPE1]\nDESCRIPTION=A very long converter "
                  "description indeed\n[TYPE2]\nDESCRIPTION=\n");
    const std::vector<ComboLine> types = InterfaceTypeLines(path);
    ASSERT_EQ(types.size(), 2u);
    EXPECT_EQ(types[0].text.size(), 30u);
    EXPECT_EQ(types[1].data, 3);
    EXPECT_EQ(InterfaceTypeSelection(types, "Mux"), 1);
    EXPECT_EQ(InterfaceTypeSelection(types, "mux"), 0);  // exact text only
    // A connection named from the long description (31 characters) still finds its type.
    EXPECT_EQ(InterfaceTypeSelection({types[1], types[0]}, "A very long converter descripti"), 1);
    EXPECT_EQ(InterfaceTypeSelection({}, "Mux"), -1);

    EXPECT_EQ(std::pair(IsOctetComplete("192"), IsOctetComplete("19")), std::pair(true, false));
}

class FormatDefinitionFormTest : public ::testing::Test, protected UiFixture {
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

    GageRecord gage;
    GageFormat editingForm;
    test::MessageBoxRecorder recorder{engine.support, MB_RESULT_OK};
};

TEST_F(FormatDefinitionFormTest, NewFormatTakesTheFirstGapRemovesTheScratchCopyAndNeedsAName) {
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

    // An empty or taken description is reported (the saves above reported nothing). Which
    // descriptions are taken, and that a refused save writes nothing, are the file's tests.
    input.description = "";
    EXPECT_EQ(Form(1, 5).Save(nullptr, input, false), FormatSaveOutcome::DescriptionRefused);
    input.description = "b";
    EXPECT_EQ(Form(1, 5).Save(nullptr, input, false), FormatSaveOutcome::DescriptionRefused);
    ASSERT_EQ(recorder.boxes.size(), 2u);
    EXPECT_NE(recorder.boxes[1].text.find("NOT UNQUE"), std::string::npos);
}

TEST_F(FormatDefinitionFormTest, BinaryFormatShowsResolutionAndFullScaleAndAnAsciiOneDoesNot) {
    Use("[TYPE3.1]\nDESCRIPTION=Dial\nDATATYPE=2\nBITS=16\nFULLSCALE=12.50\nFMTOPTS=16\n"
        "[TYPE3.2]\nDESCRIPTION=Text\nDATATYPE=3\nBITS=12\nFULLSCALE=1\n");
    const std::optional<FormatDialogInput> binary = Form(3, 1).LoadForEditing();
    ASSERT_TRUE(binary.has_value());
    // The full scale as "%0.8g"; a format without an option word selects no combination.
    EXPECT_EQ(std::tie(binary->bits, binary->fullScale, binary->combinationChoice),
              std::tuple("16", "12.5", 0));
    const std::optional<FormatDialogInput> ascii = Form(3, 2).LoadForEditing();
    ASSERT_TRUE(ascii.has_value());
    EXPECT_EQ(std::tie(ascii->bits, ascii->fullScale, ascii->combinationChoice),
              std::tuple("", "", -1));
    EXPECT_FALSE(Form(3, 0).LoadForEditing().has_value());  // new: the controls stay empty
}

// The data type enables its controls (no type: a new format before a type is chosen); raw bytes
// show as text or tokens and stay below 256 characters.
TEST(FormatDefinitionRules, DataTypeEnablesItsControlsAndRawBytesStayBelow256) {
    const std::tuple<std::optional<int>, bool, bool> cases[] = {
        {DATATYPE_ASCII, false, true},
        {DATATYPE_ASCII16, false, true},
        {DATATYPE_BINARY_LSB_FIRST, true, false},
        {DATATYPE_BINARY_MSB_FIRST, true, false},
        {std::nullopt, true, true}};
    for (const auto& [dataType, resolutionAndFullScale, decimalSeparator] : cases) {
        const TypeEnabling enabling = EnablingForType(dataType);
        EXPECT_EQ(std::pair(enabling.resolutionAndFullScale, enabling.decimalSeparator),
                  std::pair(resolutionAndFullScale, decimalSeparator))
            << dataType.value_or(-1);
    }
    const std::uint8_t bytes[] = {2, 49, 50, 200};
    EXPECT_EQ(RawBytesText(bytes, 4, DATATYPE_ASCII), "<2>12<200>");
    EXPECT_EQ(RawBytesText(bytes, 4, DATATYPE_BINARY_LSB_FIRST), "<2><49><50><200>");
    const std::vector<std::uint8_t> letters(300, 'x');
    EXPECT_EQ(RawBytesText(letters.data(), letters.size(), DATATYPE_ASCII), std::string(255, 'x'));
}

TEST(FormatDefinitionRules, AdvancedStoresCommandsNumbersAndOnlyTheTwoClearBits) {
    GageFormat form;
    form.Options = 0x0133;  // combination and other bits must survive
    const AdvancedControls shown = AdvancedControlTexts(form);
    EXPECT_EQ(std::tie(shown.clearBefore, shown.delay), std::tuple(true, ""));
    // The delay is kept in 16 bits.
    AdvancedControls controls;
    controls.delay = "70000";
    controls.timeout = "abc";
    controls.clearAfter = true;
    controls.commands[0] = std::string(80, 'g');
    controls.commands[6] = "<5>";
    StoreAdvanced(controls, form);
    EXPECT_EQ(form.GageInitCommand.view(), std::string(63, 'g'));
    EXPECT_EQ(ByteStringText(form.RequestSequence), "<5>");
    EXPECT_EQ(std::tuple(form.CommandDelay, form.ReadTimeout, form.Options),
              (std::tuple<std::uint16_t, std::uint16_t, std::uint16_t>(70000 - 65536, 0, 0x0132)));
    EXPECT_EQ(AdvancedControlTexts(form).delay, "4464");
}

TEST(GageSetupForm, EntriesAreCappedClampedAndDefaultedAsOkStoresThem) {
    EXPECT_EQ(ChannelText(CappedEntry("0")), "");
    EXPECT_EQ(CappedEntry("65537"), 1);  // low 16 bits first, then the cap
    EXPECT_EQ(std::pair(PrecisionFromText("20").rewrite, PrecisionFromText("").rewrite),
              std::pair(true, false));
    EXPECT_EQ(GainEntry("2,5"), 2.5);
    GageRecord gage;
    gage.Flags = GAGE_FLAG_NEGATE_V7 | GAGE_FLAG_ABSOLUTE;
    StoreEntries({"300", "12", "SN-1", "", "-2", "", "", "20", true, false}, gage);
    EXPECT_EQ(std::tuple(gage.ChannelNumber, gage.GageId, gage.Precision), std::tuple(255, 12, 15));
    EXPECT_EQ(std::tuple(gage.Minimum, gage.Zero, gage.Gain), std::tuple(-2.0, 0.0, 1.0));
    EXPECT_EQ(gage.Flags, GAGE_FLAG_NEGATE_V7 | GAGE_FLAG_NO_READ_CMD);
    StoreEntries({}, gage);
    EXPECT_EQ(gage.Precision, 7);
    // A name of another row, in any case, and an empty one are refused.
    GageTable gages(2);
    gages[0].Name = "Caliper";
    EXPECT_FALSE(IsGageNameAccepted(gages, 1, "CALIPER"));
    EXPECT_TRUE(IsGageNameAccepted(gages, 0, "CALIPER"));  // its own row
    EXPECT_FALSE(IsGageNameAccepted(gages, 2, ""));
}

TEST(GageSetupForm, BinaryRangeAndBar) {
    GageRecord gage;
    gage.Gain = 2.0;
    gage.Zero = 5.0;
    gage.Format.DataType = DATATYPE_BINARY_MSB_FIRST;
    gage.Format.FullScale = 10.0;
    EXPECT_EQ(std::pair(ComputeRange(gage).minimum, ComputeRange(gage).maximum),
              std::pair(-5.0, 15.0));
    gage.Flags = GAGE_FLAG_ABSOLUTE;
    EXPECT_EQ(std::pair(ComputeRange(gage).minimum, ComputeRange(gage).maximum),
              std::pair(5.0, 15.0));

    // The grey bar and a position inside the range are the gage bar's read cases.
    EXPECT_EQ(ReadingBar(1e300, {0.0, 1.0}).position, std::numeric_limits<int>::max());
}

TEST(GageSetupForm, ApplyingAFormatLoadsItAndTurnsAStoredGainOfZeroIntoOne) {
    UiFixture f;
    f.engine.settings.DefinitionsPath = f.dir.Write(
        "BRW_GAGE.DEF", "[TYPE4.1]\nDESCRIPTION=Dial\n[TYPE4.2]\nDESCRIPTION=Binary\nDATATYPE=2\n");
    f.engine.connections[3].Name = "Bench";
    f.engine.connections[3].InterfaceType = 4;
    f.gages.resize(1);
    f.gages[0].InterfaceTypeNumber = 4;
    f.gages[0].FormatNumber = 2;
    f.gages[0].Gain = 0.0;
    GageSetupForm form(f.context, f.gages[0], 0);
    EXPECT_EQ(form.InterfaceLines().at(0).data, 3);
    const auto formats = form.FormatLines(3);
    ASSERT_EQ(formats.size(), 2u);
    EXPECT_EQ(formats[1].data, form.WorkingFormatData());
    EXPECT_TRUE(form.ApplyFormat(nullptr, 3, formats[1].data));
    EXPECT_EQ(form.Number(form.Working().Gain), "+1");
    EXPECT_FALSE(form.ApplyFormat(nullptr, 3, FormatItemData(4, 9)));  // no description
    EXPECT_EQ(form.Working().ConnectionIndex, 3);
}

TEST(GageBarForm, RowsFollowTablePositionsUpToTwenty) {
    GageTable gages(25, NamedGage("G", 0));
    gages[4].Name = "";
    EXPECT_TRUE(IsBarRowShown(gages, 19));
    EXPECT_FALSE(IsBarRowShown(gages, 20));  // gage 21 is never shown nor read
    EXPECT_FALSE(IsBarRowShown(gages, 4));   // a free row stays blank
    std::array<bool, kBarRowCount> polled{};
    EXPECT_EQ(PolledBarRows(gages, true, polled).size(), 20u);

    gages.resize(3);  // row D of three gages is neither polled nor read
    EXPECT_EQ(PolledBarRows(gages, true, polled), (std::vector<int>{0, 1, 2}));
    polled[1] = true;
    polled[5] = true;  // beyond the gage count
    EXPECT_EQ(PolledBarRows(gages, false, polled), (std::vector<int>{1}));
}

TEST(GageBarForm, ReadPlacesTheValueOnTheGagesRange) {
    UiFixture f;
    f.gages.assign(2, OneValueGage("RandomValue bench"));  // simulated: no port to open
    f.gages[0].Minimum = 5.0;
    f.gages[0].Maximum = 10.0;
    f.gages[1].ConnectionIndex = 1;
    GageBarForm form(f.context);
    EXPECT_EQ(form.OpenRows(nullptr)[1], "RandomValue bench");

    // 140 is shown full by the control; a gage without a range gets a grey bar.
    const std::tuple<int, const char*, const char*, unsigned, std::optional<int>> cases[] = {
        {0, "7.5\r\n", "+7.5", kBarColourBlue, 50},
        {0, "12\r\n", "+12", kBarColourBlue, 140},
        {1, "3\r\n", "+3", kBarColourGrey, std::nullopt}};
    for (const auto& [row, record, text, colour, position] : cases) {
        f.engine.Hold(row, record);
        const auto reading = form.ReadRow(nullptr, row, 0);
        ASSERT_TRUE(reading.has_value()) << record;
        EXPECT_EQ(std::tie(reading->valueText, reading->bar.colour, reading->bar.position),
                  std::tuple(text, colour, position))
            << record;
    }
    f.gages[0].InterfaceTypeNumber = 0;  // no interface type: never a reading
    EXPECT_FALSE(form.ReadRow(nullptr, 0, READ_OPT_POLL).has_value());
    EXPECT_FALSE(form.ReadRow(nullptr, 2, 0).has_value());
}

TEST(InterfaceConfigForm, StoredRowsShowSplitSaveBackWithoutGapsAndMove) {
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
    EXPECT_EQ(std::tie(first.delay, first.text), std::tuple("500", "ABC,DEF"));
    EXPECT_EQ(SplitInitRow(loaded.rows[1]).text, "");

    CommitInitRow(loaded.rows, 4, "250", "");  // a delay without a string is not saved
    CommitInitRow(loaded.rows, 5, "x", "Z");   // no number: delay 0
    EXPECT_EQ(loaded.rows[5], "6.\t0\tZ");
    ASSERT_EQ(SaveInterfaceType(path, 1, loaded.description, loaded.rows), 1);
    const auto init = [&](const char* key) { return profile::GetString(path, "TYPE1", key); };
    EXPECT_EQ(init("INIT1") + "|" + init("INIT2") + "|" + init("INIT3") + "|" + init("INIT4"),
              "500,ABC,DEF|0,<27>R|0,Z|");

    EXPECT_EQ(SaveInterfaceType(path, kNewInterfaceType, "Three", NewInitRows()), 3);
    EXPECT_TRUE(LoadInterfaceType(path, 7).rows.empty());  // no description: an empty list

    // Up and down swap and renumber; Clear empties a row.
    std::vector<std::string> rows = NewInitRows();
    CommitInitRow(rows, 0, "10", "FIRST");
    CommitInitRow(rows, 1, "20", "SECOND");
    const auto firstThree = [&] { return std::vector(rows.begin(), rows.begin() + 3); };
    EXPECT_EQ(MoveInitRow(rows, 1, -1), 0);
    EXPECT_EQ(firstThree(),
              (std::vector<std::string>{"1.\t20\tSECOND", "2.\t10\tFIRST", "3.\t\t"}));
    EXPECT_EQ(MoveInitRow(rows, 0, -1), 0);   // the first row cannot go up
    EXPECT_EQ(MoveInitRow(rows, 19, 1), 19);  // nor the twentieth down
    EXPECT_EQ(MoveInitRow(rows, 1, 1), 2);
    ClearInitRow(rows, 0);
    EXPECT_EQ(firstThree(), (std::vector<std::string>{"1.\t\t", "2.\t\t", "3.\t10\tFIRST"}));
}

std::vector<std::uint8_t> Bytes(std::string_view text) {
    return {text.begin(), text.end()};
}

// One tick shows every byte in hex and the text up to a zero byte.
TEST(MonitorText, TicksAndTheTerminalShowHexAndText) {
    const std::tuple<std::string, std::string, std::string> cases[] = {
        {"Hello\r\n", "48 65 6C 6C 6F 0D 0A ", "Hello\r\n"},
        {"\xff\x80", "FF 80 ", "\xff\x80"},
        {std::string("AB\0CD", 5), "41 42 00 43 44 ", "AB"}};
    for (const auto& [received, hex, raw] : cases) {
        const MonitorTickText shown = RenderMonitorTick(Bytes(received));
        EXPECT_EQ(std::pair(shown.hex, shown.raw), std::pair(hex, raw)) << hex;
    }
    // The terminal breaks hex lines and shows control bytes as tokens.
    ByteRenderer hex(MonitorView::Hex);
    const std::vector<std::uint8_t> seventeen(17, 0x41);
    const std::string line = "41 41 41 41 41 41 41 41 41 41 41 41 41 41 41 41 ";
    EXPECT_EQ(hex.Render(seventeen), line + "\n41 ");
    EXPECT_EQ(hex.Finish(), "\n");
    ByteRenderer raw(MonitorView::Raw);
    EXPECT_EQ(raw.Render(Bytes(std::string("a\x1b\0\r\n", 5))), "a<27><0>\r\n");
    EXPECT_EQ(raw.Finish(), "");
}

// Tokens are appended to what counts of the send line; the picker's rows name every byte value.
TEST(MonitorSendLine, TokensAreAppendedToWhatCountsOfTheLineAndThePickerNamesEveryByte) {
    EXPECT_EQ(AppendToken("ABC", kCarriageReturnToken), "ABC<13>");
    const std::string longLine(2000, 'x');
    EXPECT_EQ(AppendToken(longLine, "<13>"), std::string(kSendLineRoom, 'x') + "<13>");
    Support support;
    support.UseBuiltInsOnly(true);
    const std::vector<std::string> rows = AsciiPickerRows(support);
    ASSERT_EQ(rows.size(), 256u);
    EXPECT_EQ(rows[0] + rows[13] + rows[32] + rows[65], "<0>\tNUL<13>\tCR<32>\t(space)<65>\tA");
    EXPECT_EQ(rows[126] + rows[127] + rows[255], "<126>\t~<127>\t(undefined)<255>\t(undefined)");
    EXPECT_EQ(RowToken(rows[13]), "<13>");

    const std::string line(200, 'q');
    EXPECT_EQ(PickerStartLine(line), line.substr(0, 127));
}

}  // namespace
}  // namespace gage
