#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/field_tokenizer.h"

namespace gage {
namespace {

// Every field of text split at commas, then "<end>" for the first call that gives nothing.
std::vector<std::string> Fields(std::string_view text, std::string_view delimiters = ",") {
    FieldScanner scanner(text);
    std::vector<std::string> fields;
    while (const auto field = scanner.NextField(delimiters)) {
        fields.emplace_back(*field);
        if (fields.size() > 100) {
            break;
        }
    }
    fields.emplace_back("<end>");
    return fields;
}

using Strings = std::vector<std::string>;

TEST(NextField, EmptyFieldsBetweenSeparatorsAreEmptyNotMissing) {
    EXPECT_EQ(Fields("a,,b"), (Strings{"a", "", "b", "<end>"}));
    EXPECT_EQ(Fields(",a"), (Strings{"", "a", "<end>"}));
    EXPECT_EQ(Fields(",,"), (Strings{"", "", "<end>"}));
}

TEST(NextField, SeparatorAtTheEndEndsTheLastField) {
    EXPECT_EQ(Fields("a,b,"), (Strings{"a", "b", "<end>"}));
}

TEST(NextField, EmptyTextGivesNothingAtOnce) {
    EXPECT_EQ(Fields(""), (Strings{"<end>"}));
    FieldScanner notStarted;
    EXPECT_FALSE(notStarted.NextField(","));
}

TEST(NextField, QuotedFieldKeepsItsSeparators) {
    EXPECT_EQ(Fields("\"Bench, left\",7"), (Strings{"Bench, left", "7", "<end>"}));
    EXPECT_EQ(Fields("\"\",7"), (Strings{"", "7", "<end>"}));
    EXPECT_EQ(Fields("1,\"x,y\""), (Strings{"1", "x,y", "<end>"}));
}

TEST(NextField, CharactersBetweenClosingQuoteAndSeparatorAreDropped) {
    EXPECT_EQ(Fields("\"ab\"cd,9"), (Strings{"ab", "9", "<end>"}));
    EXPECT_EQ(Fields("\"ab\"cd"), (Strings{"ab", "<end>"}));
}

TEST(NextField, UnclosedQuoteRunsToTheEndOfTheText) {
    EXPECT_EQ(Fields("\"ab,cd,9"), (Strings{"ab,cd,9", "<end>"}));
    EXPECT_EQ(Fields("1,\""), (Strings{"1", "", "<end>"}));
}

TEST(NextField, QuoteInsideAFieldIsAnOrdinaryCharacter) {
    EXPECT_EQ(Fields("a\"b,c"), (Strings{"a\"b", "c", "<end>"}));
}

TEST(NextField, OnlyTheFirstDelimiterCountsAndEmptyDelimitersTakeTheRest) {
    EXPECT_EQ(Fields("a;b,c", ";,"), (Strings{"a", "b,c", "<end>"}));
    EXPECT_EQ(Fields("a,b,c", ""), (Strings{"a,b,c", "<end>"}));
    FieldScanner scanner("500,\"ABC,DEF\"tail");
    EXPECT_EQ(scanner.NextField(','), "500");
    EXPECT_EQ(scanner.RestField(), "ABC,DEF");
    EXPECT_FALSE(scanner.RestField());
}

TEST(NextField, ScansAreIndependentAndRestartable) {
    FieldScanner outer("1,2,3");
    EXPECT_EQ(outer.NextField(','), "1");
    FieldScanner inner("x,y");
    EXPECT_EQ(inner.NextField(','), "x");
    EXPECT_EQ(outer.NextField(','), "2");
    outer.Start("p,q");
    EXPECT_EQ(outer.NextField(','), "p");
    EXPECT_EQ(inner.NextField(','), "y");
}

TEST(NextField, TextEndsAtItsFirstZeroCharacter) {
    const std::string text("a,b\0,c", 6);
    EXPECT_EQ(Fields(text), (Strings{"a", "b", "<end>"}));
}

TEST(TrimField, StripsSpacesAndQuotesOnlyAtTheEnds) {
    EXPECT_EQ(TrimField("  \"Gage A\" "), "Gage A");
    EXPECT_EQ(TrimField("   "), "");
    EXPECT_EQ(TrimField(""), "");
    EXPECT_EQ(TrimField("a \" b"), "a \" b");
    EXPECT_EQ(TrimField("\t x"), "\t x");  // only spaces and quotes, not tabs
}

TEST(NameFromField, NamesOfThirtyTwoOrMoreRawCharactersAreNotTaken) {
    EXPECT_EQ(NameFromField(std::string(31, 'n')), std::string(31, 'n'));
    EXPECT_EQ(NameFromField(std::string(32, 'n')), "");
    // The limit applies before trimming.
    EXPECT_EQ(NameFromField(" " + std::string(31, 'n')), "");
    EXPECT_EQ(NameFromField("  Caliper 1 "), "Caliper 1");
}

}  // namespace
}  // namespace gage
