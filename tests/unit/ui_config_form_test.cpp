// What the Gage Server Configuration dialog decides, without a window: its list lines and item
// data, the selection after a delete and the delete walk over the runtime tables.

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "helpers/serial_record.h"
#include "reading_test_support.h"
#include "ui/forms/config_form.h"

namespace gage {
namespace {

using testing_support::EngineFixture;

ConnectionRecord& Serial(ConnectionTable& table, int row, const char* name, int port) {
    ConnectionRecord& record = table[static_cast<std::size_t>(row)];
    record.Name = name;
    test::MakeSerial9600(record, port);
    return record;
}

GageRecord Gage(const char* name, int connection) {
    GageRecord gage;
    gage.Name = name;
    gage.ConnectionIndex = connection;
    return gage;
}

TEST(ConfigForm, GageItemDataCarriesConnectionHighAndGageLow) {
    struct Case {
        int connection;
        int gage;
        std::uint32_t packed;
    };
    for (const Case& c : {Case{0, 0, 0x00000000u}, Case{3, 7, 0x00030007u},
                          Case{63, 0xFFFF, 0x003FFFFFu}, Case{1, 0x10002, 0x00010002u}}) {
        EXPECT_EQ((GageListItemData{c.connection, c.gage}.Pack()), c.packed) << c.gage;
        const GageListItemData back = GageListItemData::Unpack(c.packed);
        EXPECT_EQ(back.connectionIndex, c.connection);
        EXPECT_EQ(back.gageIndex, c.gage & 0xFFFF);
    }
}

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

    const GageTable gages{Gage("Caliper", 5), Gage("", 0), Gage("Bore", 0), Gage("Lost", 64)};
    EXPECT_EQ(GageLines(engine.support, engine.connections, gages),
              (std::vector<ListLine>{{"Caliper\tLine 2 (127.0.0.1:4001)", 0x00050000u},
                                     {"Bore\tBench (COM1:9600,n,8,1)", 0x00000002u},
                                     {"Lost\t", 0x00400003u}}));
}

TEST(ConfigForm, NewGagesAndTheRowsTheyGetInto) {
    EXPECT_EQ(NewGage().Gain, 1.0);  // not 0: every reading would be 0
    EXPECT_EQ(NewGage().Precision, 7);

    GageTable gages(0xFFFF);
    EXPECT_TRUE(PrepareGageRow(gages));  // index 65535 still fits the item data
    EXPECT_GE(gages.capacity(), 0x10000u);
    gages.emplace_back();
    EXPECT_FALSE(PrepareGageRow(gages));
    EXPECT_EQ(gages.size(), 0x10000u);
    EXPECT_EQ(GageIndexOfLine(gages, 0x0001FFFFu), 0xFFFF);
    gages.resize(3);
    EXPECT_EQ(GageIndexOfLine(gages, 0x00010002u), 2);
    EXPECT_EQ(GageIndexOfLine(gages, 0x00010003u), std::nullopt);

    ConnectionTable connections;
    EXPECT_EQ(FirstFreeConnectionRow(connections), 0);
    for (int row = 0; row < kConnectionCount; ++row) {
        connections[static_cast<std::size_t>(row)].Name = "c";
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
    GageTable gages{Gage("Caliper", 0), Gage("Depth", 3), Gage("Bore", 0), Gage("Height", 0)};
    // The list is sorted: Bore, Caliper, Depth, Height.
    const std::vector<std::uint32_t> lines{
        GageListItemData{0, 2}.Pack(), GageListItemData{0, 0}.Pack(), GageListItemData{3, 1}.Pack(),
        GageListItemData{0, 3}.Pack()};

    EXPECT_EQ(RemoveConnection(engine.context, gages, 0, lines), (std::vector<int>{0, 0, 1}));
    EXPECT_TRUE(engine.connections[0].Name.empty());
    EXPECT_EQ(engine.connections[0].PortNumber, 0);
    EXPECT_FALSE(engine.connections[0].HasReceiveBuffer());
    EXPECT_EQ(engine.connections[3].Name.str(), "Line 2");
    ASSERT_EQ(gages.size(), 4u);  // rows are only cleared; the reload renumbers
    EXPECT_FALSE(gages[0].IsNamed());
    EXPECT_EQ(gages[1].Name.str(), "Depth");
    EXPECT_FALSE(gages[2].IsNamed());
    EXPECT_FALSE(gages[3].IsNamed());

    // A row outside the table changes nothing.
    EXPECT_TRUE(RemoveConnection(engine.context, gages, 64, lines).empty());
    EXPECT_EQ(gages[1].Name.str(), "Depth");
}

}  // namespace
}  // namespace gage
