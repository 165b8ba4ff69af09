// gagesrv's texts as plain functions: readings, the gage list, HOST:PORT, connection names and
// the check report.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <string_view>
#include <tuple>
#include <utility>

#include "channels/serial_port.h"
#include "gagesrv/text/check_output.h"
#include "gagesrv/text/connection_lookup.h"
#include "gagesrv/text/gage_list.h"
#include "gagesrv/text/host_port.h"
#include "gagesrv/text/reading_output.h"

namespace gage::gagesrv {
namespace {

template <std::size_t N>
void Fill(char (&field)[N], std::string_view text) {
    std::memcpy(field, text.data(), std::min(N, text.size()));
}

ReadingResult Result(double value, std::string_view code, std::string_view literal) {
    ReadingResult result{};
    result.ReadingNumber = 12;
    result.Channel = 3;
    result.Value = value;
    Fill(result.Code, code);
    Fill(result.Literal, literal);
    result.Reserved[0] = 'X';  // a full field must not run on into what follows
    return result;
}

TEST(GagesrvText, ReadingsAsTextAndAsJson) {
    // A result, its text and its JSON after
    // {"gage":"G","round":2,"ok":true,"reading":12,"channel":3,
    const std::tuple<ReadingResult, const char*, const char*> cases[] = {
        {Result(0.1, "C\x01", "\"NRM"), "value 0.1, code \"C<1>\", literal \"<34>NRM\"",
         "\"value\":0.1,\"code\":\"C\\u0001\",\"literal\":\"\\\"NRM\"}"},
        {Result(-25.0012, "a\\b\x7F", "\xB5m"),
         "value -25.0012, code \"a\\b<127>\", literal \"\xB5m\"",
         "\"value\":-25.0012,\"code\":\"a\\\\b\\u007f\",\"literal\":\"\\u00b5m\"}"},
        {Result(std::numeric_limits<double>::infinity(), std::string(32, 'c'), "ABCDEFGHIJKLMNOP"),
         "value null, code \"cccccccccccccccccccccccccccccccc\", literal \"ABCDEFGHIJKLMNOP\"",
         "\"value\":null,\"code\":\"cccccccccccccccccccccccccccccccc\",\"literal\":"
         "\"ABCDEFGHIJKLMNOP\"}"},
    };
    for (const auto& [result, text, json] : cases) {
        const PrintedReading reading{"G", 2, &result};
        EXPECT_EQ(ReadingText(reading), std::string("G: reading 12, channel 3, ") + text);
        EXPECT_EQ(ReadingJson(reading),
                  std::string("{\"gage\":\"G\",\"round\":2,\"ok\":true,\"reading\":12,"
                              "\"channel\":3,") +
                      json);
    }
    const PrintedReading failed{"Bore \"A\"", 7, nullptr};
    EXPECT_EQ(ReadingText(failed), "Bore \"A\": no reading");
    EXPECT_EQ(ReadingJson(failed), "{\"gage\":\"Bore \\\"A\\\"\",\"round\":7,\"ok\":false}");
}

TEST(GagesrvText, GageListCountsAndNumbersTheNames) {
    EXPECT_EQ(GageListText({}), "No gages are configured.\n");
    EXPECT_EQ(GageListText({"Caliper"}), "1 gage is configured:\n  1. Caliper\n");
    EXPECT_EQ(GageListText({"A", "B"}), "2 gages are configured:\n  1. A\n  2. B\n");
}

TEST(GagesrvText, HostAndPortAreTakenOnlyWhole) {
    const auto parsed = ParseHostPort("::1:4001");  // the last colon counts
    ASSERT_TRUE(parsed);
    EXPECT_EQ(std::tie(parsed->host, parsed->port), std::tuple("::1", 4001));
    EXPECT_EQ(ParseHostPort("gage-box:65535").value_or(HostPort{}).port, 65535);
    for (const char* bad : {"gage-box", "gage-box:", ":4001", "gage-box:0", "gage-box:65536",
                            "gage-box:40x", "gage-box:-1"}) {
        EXPECT_FALSE(ParseHostPort(bad)) << bad;
    }
}

TEST(GagesrvText, ConnectionsAreFoundByNameInAnyCaseOrByTheKeyOfAConfiguredRow) {
    ConnectionTable connections{};
    connections[0].Name = "Bench Port";
    connections[5].Name = "Net Box";
    connections[63].Name = "Last";
    const std::pair<const char*, int> cases[] = {
        // a name and the row it finds (-1: none)
        {"bench PORT", 0}, {"MUX_5", 5},   {"mux_63", 63}, {"MUX_1", -1},  {"MUX_64", -1},
        {"MUX_", -1},      {"MUX_5x", -1}, {"", -1},       {"Nowhere", -1}};
    for (const auto& [name, row] : cases) {
        EXPECT_EQ(FindConnection(connections, name),
                  row < 0 ? nullptr : &connections[static_cast<std::size_t>(row)])
            << name;
    }
}

TEST(GagesrvText, CheckReportNamesWhatEachFindingIsAboutAndCountsThem) {
    ConfigurationCheck check;
    check.connectionsLoaded = 1;
    check.gagesLoaded = 2;
    EXPECT_EQ(CheckReport("a.cfg", "a.def", check),
              "Checking a.cfg with a.def.\n1 connection and 2 gages would load; every line is "
              "taken as written.\n");
    check.findings = {{FindingEffect::Skipped, "a.cfg", "GAGES", "GAGE_2", 15, "too short."},
                      {FindingEffect::Changed, "a.cfg", "INTERFACES", "", 4, "cut."},
                      {FindingEffect::Warning, "a.cfg", "", "", 0, "missing."}};
    ServerSettings settings;
    settings.SystemSettingsPath = "ZRN_SYS.INI";
    settings.PortMap.Map(7, "/dev/gone");
    settings.PortMap.Map(8, "/dev/here");
    const std::string gone = serial_port::MappedDeviceName("/dev/gone");  // as the system names it
    AddMissingDeviceFindings(check, settings,
                             [&](const std::string& device) { return device != gone; });
    EXPECT_EQ(CheckReport("a.cfg", "a.def", check),
              "Checking a.cfg with a.def.\n"
              "a.cfg [GAGES] GAGE_2 (line 15): skipped: too short.\n"
              "a.cfg [INTERFACES] (line 4): changed: cut.\n"
              "a.cfg: warning: missing.\n"
              "ZRN_SYS.INI [GAGESERVER PORTS] COM7: warning: the device " +
                  gone +
                  " does not exist, so COM7 cannot open.\n"
                  "1 connection and 2 gages would load; 1 line skipped, 1 changed, 2 warnings.\n");
}

}  // namespace
}  // namespace gage::gagesrv
