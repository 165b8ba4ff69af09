#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/builtin_strings.h"
#include "support/support.h"

namespace gage {
namespace {

TEST(TranslationKeyTest, OnlyLeadingDigitsFollowedByABarAreAKey) {
    const std::pair<const char*, const char*> cases[] = {
        {"3421|COMM", "COMM"}, {"0|RTS=off", "RTS=off"},
        {"3124||", "|"},       {"3049|1", "1"},
        {"123|", ""},          {"|text", "|text"},
        {"1234", "1234"},      {"12a|text", "12a|text"},
        {"WSA: x", "WSA: x"},  {"", ""}};
    for (const auto& [text, stripped] : cases) {
        EXPECT_EQ(builtin::StripTranslationKey(text), stripped) << text;
    }
}

// The text is cut to the buffer after its key is removed; a missing id (3127: byte values above
// 126 have no name) gives 0 and an empty buffer.
TEST(SupportStringsTest, LoadsTheTextWithoutItsKeyCutToTheBuffer) {
    struct Case {
        unsigned id;
        int size;
        const char* text;
        int length;
    };
    const Case cases[] = {{100, 8, "COMMUNI", 7}, {100, 1, "", 0}, {1100, 8, "EQ", 2},
                          {1105, 8, "GE", 2},     {99, 32, "", 0}, {3127, 32, "", 0}};
    Support support;
    support.UseBuiltInsOnly(true);
    for (const Case& c : cases) {
        std::string buffer(64, 'x');
        EXPECT_EQ(support.LangLoadString(nullptr, c.id, buffer.data(), c.size), c.length) << c.id;
        EXPECT_STREQ(buffer.c_str(), c.text) << c.id;
    }
    EXPECT_EQ(support.LangLoadString(nullptr, 100, nullptr, 8), 0);
    char untouched[] = "abc";
    EXPECT_EQ(support.LangLoadString(nullptr, 100, untouched, 0), 0);
    EXPECT_STREQ(untouched, "abc");
    EXPECT_EQ(support.LoadString(65535), "");
}

// Every byte value up to 126 and every sockets error the channel can meet has a text.
TEST(SupportStringsTest, ByteValueNamesAndSocketsErrorTexts) {
    Support support;
    support.UseBuiltInsOnly(true);
    for (unsigned value = 33; value <= 126; ++value) {
        EXPECT_EQ(support.LoadString(3000 + value), std::string(1, static_cast<char>(value)));
    }
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
}

}  // namespace
}  // namespace gage
