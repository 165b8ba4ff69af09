#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>

#include "support/builtin_strings.h"
#include "support/support.h"

namespace gage {
namespace {

class SupportStringsTest : public ::testing::Test {
  protected:
    SupportStringsTest() { support.UseBuiltInsOnly(true); }
    Support support;
};

TEST(TranslationKeyTest, OnlyLeadingDigitsFollowedByABarAreAKey) {
    EXPECT_EQ(builtin::StripTranslationKey("3421|COMMUNICATION ERROR"), "COMMUNICATION ERROR");
    EXPECT_EQ(builtin::StripTranslationKey("0|RTS=off/DTR=on"), "RTS=off/DTR=on");
    EXPECT_EQ(builtin::StripTranslationKey("3124||"), "|");
    EXPECT_EQ(builtin::StripTranslationKey("3049|1"), "1");
    EXPECT_EQ(builtin::StripTranslationKey("123|"), "");
    // Not keys: no digits, no bar, or something between them.
    EXPECT_EQ(builtin::StripTranslationKey("|text"), "|text");
    EXPECT_EQ(builtin::StripTranslationKey("1234"), "1234");
    EXPECT_EQ(builtin::StripTranslationKey("12a|text"), "12a|text");
    EXPECT_EQ(builtin::StripTranslationKey("WSAEINTR: Interrupted function call"),
              "WSAEINTR: Interrupted function call");
    EXPECT_EQ(builtin::StripTranslationKey(""), "");
}

TEST_F(SupportStringsTest, LoadsTextWithoutKeyAndReturnsItsLength) {
    std::array<char, 128> buffer{};
    const int length = support.LangLoadString(nullptr, 100, buffer.data(), buffer.size());
    EXPECT_STREQ(buffer.data(), "COMMUNICATION ERROR");
    EXPECT_EQ(length, static_cast<int>(std::strlen("COMMUNICATION ERROR")));
}

TEST_F(SupportStringsTest, MissingIdGivesZeroAndAnEmptyBuffer) {
    std::array<char, 32> buffer{};
    buffer.fill('x');
    EXPECT_LE(support.LangLoadString(nullptr, 99, buffer.data(), buffer.size()), 0);
    EXPECT_STREQ(buffer.data(), "");
    // Byte values above 126 have no name: the picker falls back to "(undefined)".
    EXPECT_LE(support.LangLoadString(nullptr, 3127, buffer.data(), buffer.size()), 0);
    EXPECT_EQ(support.LoadString(65535), "");
}

TEST_F(SupportStringsTest, TextIsCutToTheBufferAfterTheKeyIsRemoved) {
    std::array<char, 8> buffer{};
    buffer.fill('x');
    // "3421|COMMUNICATION ERROR": the cut applies to the text, not to the keyed resource.
    EXPECT_EQ(support.LangLoadString(nullptr, 100, buffer.data(), 8), 7);
    EXPECT_STREQ(buffer.data(), "COMMUNI");
    EXPECT_EQ(support.LangLoadString(nullptr, 100, buffer.data(), 1), 0);
    EXPECT_STREQ(buffer.data(), "");
    EXPECT_EQ(support.LangLoadString(nullptr, 100, buffer.data(), 0), 0);
    EXPECT_EQ(support.LangLoadString(nullptr, 100, nullptr, 8), 0);
}

TEST_F(SupportStringsTest, OperatorWordsFitTheirEightCharacterBuffers) {
    const char* const words[] = {"EQ", "NE", "LT", "LE", "GT", "GE"};
    for (unsigned i = 0; i < 6; ++i) {
        std::array<char, 8> buffer{};
        EXPECT_EQ(support.LangLoadString(nullptr, 1100 + i, buffer.data(), 8), 2);
        EXPECT_STREQ(buffer.data(), words[i]);
    }
}

TEST_F(SupportStringsTest, TextsThatOtherPartsDependOn) {
    EXPECT_EQ(support.LoadString(120), "undefined");
    EXPECT_EQ(support.LoadString(1106), "(undefined)");
    EXPECT_EQ(support.LoadString(115), "Warning");
    EXPECT_EQ(support.LoadString(1013), "RTS=off/DTR=on");
    EXPECT_EQ(support.LoadString(1004), "SPACE");
    EXPECT_EQ(support.LoadString(108),
              "NO COMMUNICATION PORT SELECTED\r\n\r\nSelect a communication port now?");
    EXPECT_EQ(support.LoadString(1066), "Unknown Error");
    EXPECT_EQ(support.LoadString(10060), "WSAETIMEDOUT: Connection timed out");
    EXPECT_EQ(support.LoadString(10051), "WSAENETUNREACH: Network is unreachable");
    EXPECT_EQ(support.LoadString(30321), "ASCII (16 bit)");
    EXPECT_EQ(support.LoadString(1350), "Gage Interfaces");
    EXPECT_EQ(support.LoadString(1351), "Gaging Devices");
}

TEST_F(SupportStringsTest, ByteValueNamesCoverZeroTo126) {
    EXPECT_EQ(support.LoadString(3000), "NUL");
    EXPECT_EQ(support.LoadString(3013), "CR");
    EXPECT_EQ(support.LoadString(3032), "(space)");
    EXPECT_EQ(support.LoadString(3034), "\"");
    EXPECT_EQ(support.LoadString(3092), "\\");
    EXPECT_EQ(support.LoadString(3124), "|");
    EXPECT_EQ(support.LoadString(3126), "~");
    for (unsigned value = 33; value <= 126; ++value) {
        EXPECT_EQ(support.LoadString(3000 + value), std::string(1, static_cast<char>(value)))
            << "byte value " << value;
    }
}

TEST_F(SupportStringsTest, EverySocketsErrorTheChannelCanMeetHasAText) {
    std::vector<unsigned> codes = {10004, 10009, 10013, 10014, 10022, 10024, 10091,
                                   10092, 10093, 10101, 11001, 11002, 11003, 11004};
    for (unsigned code = 10035; code <= 10071; ++code) {
        codes.push_back(code);
    }
    for (const unsigned code : codes) {
        const std::string text = support.LoadString(code);
        EXPECT_EQ(text.rfind("WSA", 0), 0u) << code << ": " << text;
        EXPECT_NE(text.find(": "), std::string::npos) << code;
    }
}

TEST(SupportDialogTest, DialogOperationsAcceptANullWindow) {
    Support support;
    support.UseBuiltInsOnly(true);
    support.LangTranslateDialog(nullptr);
    support.LangBanner(nullptr);
    support.GenEditFilter(nullptr, 3, 3, 0, 1.0, 255.0, 5, 1);
    support.GenEditFilter(nullptr, 2, 0, 31, 0.0, 0.0, 1, 1);
    SUCCEED();
}

}  // namespace
}  // namespace gage
