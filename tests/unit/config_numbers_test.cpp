// Numbers and addresses in the configuration files: read as the C library reads them in the "C"
// locale, written with a period, and judged "as written" when the field is that number alone.

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>

#include "config/c_number_text.h"
#include "config/connection_record.h"
#include "config/ipv4_address.h"
#include "helpers/decimal_comma_locale.h"

namespace gage {
namespace {

TEST(ReadCInteger, ReadsLikeAtolAndTellsWhetherTheFieldIsThatNumber) {
    const struct {
        std::string text;
        std::int32_t value;
        bool asWritten;
    } cases[] = {// clang-format off
        {"42", 42, true}, {"  -17xyz", -17, false}, {"\t+8 ", 8, true}, {"abc", 0, false},
        {"", 0, true}, {"  ", 0, true}, {"- 5", 0, false}, {"+", 0, false}, {"12 34", 12, false},
        {"3.9", 3, false}, {"-2147483648", INT32_MIN, true}, {"-2147483649", INT32_MAX, false},
        {"4294967295", -1, true}, {"3000000000", -1294967296, true}, {"4294967296", 0, false},
        {std::string(100000, '9'), -1, false}};  // many digits neither crash nor hang
    // clang-format on
    for (const auto& c : cases) {
        const auto reading = ReadCIntegerField(c.text);
        EXPECT_EQ(reading.value, c.value) << c.text.substr(0, 20);
        EXPECT_EQ(reading.asWritten, c.asWritten) << c.text.substr(0, 20);
        EXPECT_EQ(ReadCInteger(c.text), c.value);
    }
}

TEST(ReadCReal, ReadsLikeAtofInTheCLocaleAndTellsWhetherTheFieldIsThatNumber) {
    const struct {
        std::string text;
        double value;
        bool asWritten;
    } cases[] = {// clang-format off
        {"0.001", 0.001, true}, {"  -2.5e3 mm", -2500.0, false}, {"+.5 ", 0.5, true},
        {"7.", 7.0, true}, {"0,5", 0.0, false} /* no decimal comma */, {"x", 0.0, false},
        {"", 0.0, true}, {"-", 0.0, false}, {"1e", 1.0, false}, {"0x1p3", 8.0, true},
        {"0x", 0.0, false}, {"inf", HUGE_VAL, true}, {"nan", NAN, true}, {"1e400", HUGE_VAL, true},
        {"-1e400", -HUGE_VAL, true}, {"1e-400", 0.0, true}, {"0.00001e-320", 0.0, true},
        {std::string(400, '9'), HUGE_VAL, true}, {"1e99999999999999999999", HUGE_VAL, true}};
    // clang-format on
    for (const auto& c : cases) {
        const auto reading = ReadCRealField(c.text);
        if (std::isnan(c.value)) {
            EXPECT_TRUE(std::isnan(reading.value)) << c.text;
        } else {
            EXPECT_EQ(reading.value, c.value) << c.text.substr(0, 20);
        }
        EXPECT_EQ(reading.asWritten, c.asWritten) << c.text.substr(0, 20);
    }
}

TEST(FormatCReal, WritesSevenSignificantDigitsWithAPeriod) {
    // clang-format off
    const std::pair<double, const char*> cases[] = {{0.001, "0.001"}, {25.0, "25"}, {-1.0, "-1"},
        {1.0 / 3.0, "0.3333333"}, {12345678.0, "1.234568e+07"}, {0.00001, "1e-05"}, {0.0, "0"}};
    // clang-format on
    for (const auto& [value, text] : cases) {
        EXPECT_EQ(FormatCReal(value), text);
    }
}

// A decimal-comma locale must not leak into the configuration files. The process locale is
// switched only for this test and always restored; the test is skipped where no such locale is
// installed.
TEST(FormatCReal, StaysWithAPeriodUnderADecimalCommaLocale) {
    std::optional<test::DecimalCommaLocale> comma(std::in_place);
    if (!comma->active()) {
        GTEST_SKIP() << "no decimal-comma locale installed";
    }
    const std::string written = FormatCReal(0.001);
    const double read = ReadCReal("2.5");
    comma.reset();
    EXPECT_EQ(written, "0.001");
    EXPECT_EQ(read, 2.5);
}

// The bytes of the address in memory order, so network order reads as written.
TEST(ParseIPv4Address, ReadsTheFormsOfInetAddrInNetworkOrder) {
    // clang-format off
    const std::pair<const char*, const char*> cases[] = {{"192.168.0.10", "192.168.0.10"},
        {"0.0.0.0", "0.0.0.0"}, {"127.1", "127.0.0.1"}, {"10.1.258", "10.1.1.2"},
        {"0x7f.0.0.01", "127.0.0.1"}, {"3232235530", "192.168.0.10"}, {"1.2.3.4  ", "1.2.3.4"},
        {"255.255.255.255", "none"}, {"256.1.1.1", "none"}, {"300.1.2.3", "none"},
        {"1.2.3.4.5", "none"}, {"1.2.3.", "none"}, {"host.example", "none"},
        {"1.2.3.4x", "none"}, {"09.1.1.1", "none"}, {"", "none"}, {"99999999999", "none"}};
    // clang-format on
    for (const auto& [text, expected] : cases) {
        const std::uint32_t address = ParseIPv4Address(text);
        const auto* b = reinterpret_cast<const unsigned char*>(&address);
        const std::string dotted = std::to_string(b[0]) + "." + std::to_string(b[1]) + "." +
                                   std::to_string(b[2]) + "." + std::to_string(b[3]);
        EXPECT_EQ(address == kInaddrNone ? "none" : dotted, expected) << text;
    }
}

}  // namespace
}  // namespace gage
