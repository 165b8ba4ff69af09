// A serial gage found through [GAGESERVER PORTS]: the port map is read at start-up and a mapped
// port opens its device by its full path, however long.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "loaded_library_fixture.h"
#include "simulator.h"

namespace gage::harness {
namespace {

constexpr const char* kDefinitions =
    "[TYPE2]\r\nDESCRIPTION=Serial caliper\r\n"
    "[TYPE2.1]\r\nDESCRIPTION=Answers ?\r\nRECEND=<13><10>\r\nMEAS_READ=?<13>\r\n"
    "MEASTIMEOUT=2000\r\nVALUE1=1,1,0\r\n";

constexpr const char* kConfiguration =
    "[APPLICATION]\r\nNAME=ZRNGSV32\r\nVERSION=9\r\n"
    "[INTERFACES]\r\nMUX_0=\"Port\",2,5,9600,8,1,1,1,1024,0,\r\n"
    "[GAGES]\r\nGAGE_1=\"Caliper\",2,1,0,7,SN,0,1,0,1,3,0,0\r\n";

TEST_F(LoadedLibraryTest, AMappedPortOpensItsDeviceByItsLongPath) {
    // Like a /dev/serial/by-id name: a link, far longer than a COM_PREFIX can hold.
    const std::filesystem::path directory =
        SharedDir().path() / "serial" / "by-id" / std::string(60, 'u') / std::string(40, 'p');
    std::filesystem::create_directories(directory);
    const std::string link = (directory / "usb-gage-if00-port0").string();
    ASSERT_GT(link.size(), 100u);

    gagesim::SimulatorOptions options;
    options.linkPath = link;
    options.trigger = "?\r";
    options.values = {12.345};
    options.recordTemplate = "{value:%.3f}<13><10>";
    gagesim::Simulator simulator(options);
    std::string error;
    ASSERT_TRUE(simulator.Start(error)) << error;

    SharedDir().Write("ZRN_SYS.INI",
                      "[GAGESERVER]\r\nCOM_PREFIX=/nonexistent/com\r\n"
                      "[GAGESERVER PORTS]\r\nCOM5=" +
                          link + "\r\n");
    SharedDir().Write("BRW_GAGE.DEF", kDefinitions);
    LocalDir().Write("BRW_GAGE.CFG", kConfiguration);
    ASSERT_TRUE(Load());

    const std::optional<ReadingResult> result = Read("Caliper");
    ASSERT_TRUE(result.has_value()) << LocalDir().Read("ZRNGSV32.LOG").value_or("");
    EXPECT_DOUBLE_EQ(result->Value, 12.345);
    EXPECT_EQ(simulator.CommandCount(), 1);
}

}  // namespace
}  // namespace gage::harness
