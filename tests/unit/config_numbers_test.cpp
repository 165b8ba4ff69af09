#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <optional>

#include "config/c_number_text.h"
#include "config/connection_record.h"
#include "config/ipv4_address.h"
#include "helpers/decimal_comma_locale.h"

namespace gage {
namespace {

TEST(ReadCInteger, ReadsLikeAtol) {
    EXPECT_EQ(ReadCInteger("42"), 42);
    EXPECT_EQ(ReadCInteger("  -17xyz"), -17);
    EXPECT_EQ(ReadCInteger("\t+8"), 8);
    EXPECT_EQ(ReadCInteger("abc"), 0);
    EXPECT_EQ(ReadCInteger(""), 0);
    EXPECT_EQ(ReadCInteger("- 5"), 0);
    EXPECT_EQ(ReadCInteger("12 34"), 12);
    EXPECT_EQ(ReadCInteger("3.9"), 3);
}

TEST(ReadCInteger, UnsignedThirtyTwoBitTextReadsBackToTheSameBits) {
    EXPECT_EQ(static_cast<std::uint32_t>(ReadCInteger("4294967295")), 4294967295u);
    EXPECT_EQ(static_cast<std::uint32_t>(ReadCInteger("3000000000")), 3000000000u);
    // Far too many digits neither crash nor hang.
    (void)ReadCInteger(std::string(100000, '9'));
}

TEST(ReadCReal, ReadsLikeAtofInTheCLocale) {
    EXPECT_EQ(ReadCReal("0.001"), 0.001);
    EXPECT_EQ(ReadCReal("  -2.5e3 mm"), -2500.0);
    EXPECT_EQ(ReadCReal("+.5"), 0.5);
    EXPECT_EQ(ReadCReal("7."), 7.0);
    EXPECT_EQ(ReadCReal("0,5"), 0.0);  // a comma is not a decimal point here
    EXPECT_EQ(ReadCReal("x"), 0.0);
    EXPECT_EQ(ReadCReal(""), 0.0);
    EXPECT_EQ(ReadCReal("1e"), 1.0);
    EXPECT_EQ(ReadCReal("0x1p3"), 8.0);
    EXPECT_EQ(ReadCReal("0x"), 0.0);
    EXPECT_TRUE(std::isinf(ReadCReal("inf")));
    EXPECT_TRUE(std::isnan(ReadCReal("nan")));
}

TEST(ReadCReal, OutOfRangeGivesInfinityOrZero) {
    EXPECT_EQ(ReadCReal("1e400"), HUGE_VAL);
    EXPECT_EQ(ReadCReal("-1e400"), -HUGE_VAL);
    EXPECT_EQ(ReadCReal("1e-400"), 0.0);
    EXPECT_EQ(ReadCReal("0.00001e-320"), 0.0);
    EXPECT_EQ(ReadCReal(std::string(400, '9')), HUGE_VAL);
    EXPECT_EQ(ReadCReal("1e99999999999999999999"), HUGE_VAL);
}

TEST(FormatCReal, WritesSevenSignificantDigitsWithAPeriod) {
    EXPECT_EQ(FormatCReal(0.001), "0.001");
    EXPECT_EQ(FormatCReal(25.0), "25");
    EXPECT_EQ(FormatCReal(-1.0), "-1");
    EXPECT_EQ(FormatCReal(1.0 / 3.0), "0.3333333");
    EXPECT_EQ(FormatCReal(12345678.0), "1.234568e+07");
    EXPECT_EQ(FormatCReal(0.00001), "1e-05");
    EXPECT_EQ(FormatCReal(0.0), "0");
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

TEST(ParseIPv4Address, ReadsDottedAddressesInNetworkOrder) {
    EXPECT_EQ(ParseIPv4Address("192.168.0.10"), NetworkOrderAddress(192, 168, 0, 10));
    EXPECT_EQ(ParseIPv4Address("127.0.0.1"), NetworkOrderAddress(127, 0, 0, 1));
    EXPECT_EQ(ParseIPv4Address("0.0.0.0"), 0u);
    const std::uint32_t address = ParseIPv4Address("1.2.3.4");
    const auto* bytes = reinterpret_cast<const unsigned char*>(&address);
    EXPECT_EQ(bytes[0], 1);
    EXPECT_EQ(bytes[3], 4);
}

TEST(ParseIPv4Address, AcceptsTheShortAndNumericFormsOfInetAddr) {
    EXPECT_EQ(ParseIPv4Address("127.1"), NetworkOrderAddress(127, 0, 0, 1));
    EXPECT_EQ(ParseIPv4Address("10.1.258"), NetworkOrderAddress(10, 1, 1, 2));
    EXPECT_EQ(ParseIPv4Address("0x7f.0.0.01"), NetworkOrderAddress(127, 0, 0, 1));
    EXPECT_EQ(ParseIPv4Address("3232235530"), NetworkOrderAddress(192, 168, 0, 10));
    EXPECT_EQ(ParseIPv4Address("1.2.3.4  "), NetworkOrderAddress(1, 2, 3, 4));
}

TEST(ParseIPv4Address, RejectsWhatIsNotAnAddress) {
    EXPECT_EQ(ParseIPv4Address("255.255.255.255"), kInaddrNone);
    EXPECT_EQ(ParseIPv4Address("256.1.1.1"), kInaddrNone);
    EXPECT_EQ(ParseIPv4Address("300.1.2.3"), kInaddrNone);
    EXPECT_EQ(ParseIPv4Address("1.2.3.4.5"), kInaddrNone);
    EXPECT_EQ(ParseIPv4Address("1.2.3."), kInaddrNone);
    EXPECT_EQ(ParseIPv4Address("host.example"), kInaddrNone);
    EXPECT_EQ(ParseIPv4Address("1.2.3.4x"), kInaddrNone);
    EXPECT_EQ(ParseIPv4Address("09.1.1.1"), kInaddrNone);
    EXPECT_EQ(ParseIPv4Address(""), kInaddrNone);
    EXPECT_EQ(ParseIPv4Address("99999999999"), kInaddrNone);
}

}  // namespace
}  // namespace gage
