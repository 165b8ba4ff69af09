#pragma once
// The private-profile behaviour the configuration files rely on, as one table of cases. The unit
// tests run it against gage::profile; the Windows tests run it against both gage::profile and the
// system's GetPrivateProfileStringA / GetPrivateProfileIntA / WritePrivateProfileStringA, so the
// two cannot drift apart. Expected values are those of Windows; where Wine behaves otherwise the
// case says why in wineDiffers and the Windows tests skip the system check for it.

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/profile.h"
#include "helpers/temporary_directory.h"

namespace gage::profile_cases {

using test::TemporaryDirectory;

// As WritePrivateProfileString takes it: without a value the key goes, without a key the section.
struct Edit {
    const char* section;
    const char* key = nullptr;
    const char* value = nullptr;
};

struct StringRead {
    const char* section;
    const char* key;
    std::string_view expected;
    std::size_t bufferSize = 256;
    const char* defaultValue = "default";
};

struct IntRead {
    const char* section;
    const char* key;
    int defaultValue;
    int expected;
};

struct ProfileCase {
    const char* name;
    std::optional<std::string_view> content;  // the file before the edits; nullopt: no file
    std::vector<Edit> edits;
    std::vector<StringRead> strings;
    std::vector<IntRead> ints{};
    std::optional<std::string_view> expectedFile{};  // the exact bytes after the edits
    const char* wineDiffers = nullptr;               // why Wine is not held to this case
};

// The operations under test, bound to one implementation.
struct ProfileApi {
    std::function<std::size_t(const std::string& path, const char* section, const char* key,
                              const char* defaultValue, char* buffer, std::size_t bufferSize)>
        getString;
    std::function<int(const std::string& path, const char* section, const char* key, int)> getInt;
    std::function<bool(const std::string& path, const char* section, const char* key,
                       const char* value)>
        writeString;  // a null key deletes the section, a null value the key
};

inline ProfileApi OurProfileApi() {
    return {[](const std::string& path, const char* section, const char* key, const char* dflt,
               char* buffer, std::size_t size) {
                return profile::GetString(path, section, key, dflt, buffer, size);
            },
            [](const std::string& path, const char* section, const char* key, int dflt) {
                return profile::GetInt(path, section, key, dflt);
            },
            [](const std::string& path, const char* section, const char* key, const char* value) {
                return key == nullptr     ? profile::DeleteSection(path, section)
                       : value == nullptr ? profile::DeleteKey(path, section, key)
                                          : profile::WriteString(path, section, key, value);
            }};
}

// Reads without a buffer size use 256, without a default "default".
inline const std::vector<ProfileCase>& Cases() {
    // One read or edit per cell, several to a line.
    // clang-format off
    static const std::vector<ProfileCase> cases = {
        {"lookups without regard to case",
         "[SeCtIoN1]\r\nNaMe1=val1\r\nname4=a\r\n[section2]\r\n[s3]\r\nempty=\r\n", {},
         {{"section1", "NAME1", "val1"}, {"SECTION1", "name4", "a"},
          {"nosection", "name1", "default"}, {"section1", "nokey", "default"},
          {"section1", "nokey", "", 256, ""},
          {"section2", "name1", "dflt", 256, "dflt"}, {"s3", "empty", ""}},
         {{"nosection", "name1", -7, -7}, {"section1", "nokey", 42, 42}}},
        {"missing file gives the default", std::nullopt, {}, {{"section1", "name1", "default"}},
         {{"section1", "name1", 150, 150}}},
        {"values are cut to the buffer", "[s]\r\nname1=val1\r\nv=\"abcdef\"\r\n", {},
         {{"s", "name1", "val", 4}, {"s", "name1", "val1", 5}, {"s", "name1", "v", 2},
          {"s", "name1", "", 1}, {"s", "name1", "", 0}, {"s", "missing", "def", 4},
          {"s", "v", "abc", 4}, {"s", "v", "abcdef", 8}}},
        {"a quoted value that just fits the buffer", "[q]\r\nv=\"abcdef\"\r\n", {},
         {{"q", "v", "abcdef", 7}}, {}, std::nullopt,
         "Wine drops one more character when the unquoted value exactly fills the buffer; "
         "Windows documents the value as cut to the buffer size minus one"},
        {"blanks around names and values are ignored, the default loses its trailing ones",
         "  [  spaced section  ]  \r\n \t key one \t=  \t value with  inner blanks \t \r\n", {},
         {{"spaced section", "key one", "value with  inner blanks"},
          {"  spaced section ", " key one  ", "value with  inner blanks"},
          {"spaced section", "missing", "default", 256, "default  "},
          {"spaced section", "missing", "one two", 256, "one two  "}}},
        {"enclosing quotes are stripped",
         "[q]\r\ndouble=\"val2\"\r\nsingle='val3'\r\nmixed=\"val4'\r\nalone=\"\r\nempty=\"\"\r\n"
         "inner=\"a\"b\"\r\nopen=\"abc\r\nleading=x\"y\"\r\nlist=\"Bench, left\",1,2\r\n", {},
         {{"q", "double", "val2"}, {"q", "single", "val3"}, {"q", "mixed", "\"val4'"},
          {"q", "alone", "\""}, {"q", "empty", ""}, {"q", "inner", "a\"b"}, {"q", "open", "\"abc"},
          {"q", "leading", "x\"y\""}, {"q", "list", "\"Bench, left\",1,2"}}},
        {"lines that are no keys, duplicates and odd headers",
         "k=v\r\n; [s]\r\n[s]\r\nname3\r\n;name=commented\r\nd=first\r\nD=second\r\nk=a=b\r\n"
         "[b]\r\nx=1\r\n[S]\r\nd=2\r\nk2=3\r\n[h]x]\r\nk=1\r\n[t] trailing\r\nk=2\r\n", {},
         {{"s", "name3", "default"}, {"s", "name", "default"}, {"s", "d", "first"},
          {"s", "k", "a=b"}, {"s", "k2", "default"}, {"b", "x", "1"}, {"h]x", "k", "1"},
          {"t", "k", "2"}},
         {{"s", "name3", 9, 9}}},
        {"LF line endings", "[s]\nk=v\nj=w\n", {}, {{"s", "k", "v"}, {"s", "j", "w"}}},
        {"CR line endings", "[s]\rk=v\rj=w\r", {}, {{"s", "k", "v"}, {"s", "j", "w"}}},
        {"no newline at the end", "[s]\r\nk=v", {}, {{"s", "k", "v"}}},
        {"a UTF-8 byte order mark", "\xEF\xBB\xBF[s]\r\nk=v\r\n", {}, {{"s", "k", "v"}}},
        {"DOS end-of-file mark and tabs are blanks", "[s]\r\n\tk\t=\tv\t\r\n\x1a", {},
         {{"s", "k", "v"}}},
        {"integers",
         "[n]\r\na=12\r\nb=-1\r\nc=+5\r\nd=42abc\r\ne=abc\r\nf=\r\ng=\"17\"\r\nh=1 2\r\ni=70000\r\n"
         "j=0\r\nk=- 3\r\nw=4294967297\r\nx=-4294967297\r\ny=42A94967297\r\nz=B4294967297\r\n"
         "v=4294967296\r\n", {}, {},
         {{"n", "a", 5, 12}, {"n", "b", 5, -1}, {"n", "c", 5, 5}, {"n", "d", 5, 42},
          {"n", "e", 5, 0}, {"n", "f", 5, 5}, {"n", "g", 5, 17}, {"n", "h", 5, 1},
          {"n", "i", 5, 70000},
          {"n", "j", 5, 0}, {"n", "k", 5, 0}, {"n", "missing", 5, 5}, {"n", "v", -1, 0},
          {"n", "w", -1, 1}, {"n", "x", 1, -1}, {"n", "y", 1, 42}, {"n", "z", 1, 0}}},
        {"integers are decimal", "[n]\r\nhex=0x10\r\n", {}, {}, {{"n", "hex", 5, 0}}, std::nullopt,
         "Wine reads a 0x prefix as hexadecimal; the documented reading (and the configuration "
         "files' rule) is leading decimal digits, so \"0x10\" is 0"},
        {"writing builds sections in order, an empty value as such", std::nullopt,
         {{"App1", "key1", "string1"}, {"App1", "key2", "string2"}, {"App2", "key4", "string4"},
          {"App3", "key5", ""}},
         {{"app1", "KEY2", "string2"}, {"App3", "key5", ""}}, {{"App3", "key5", 3, 3}},
         "[App1]\r\nkey1=string1\r\nkey2=string2\r\n[App2]\r\nkey4=string4\r\n[App3]\r\nkey5=\r\n"},
        {"deleting keys and sections, and what is not there",
         "[App1]\r\nkey1=string1\r\nkey2=string2\r\n[App2]\r\nkey4=string4\r\n"
         "[App3]\r\nkey5=string5\r\nkey6=6\r\n",
         {{"App1", "key2"}, {"App1", "key2"}, {"app1"}, {"App2"}, {"App2"}, {"App3", "KEY5"},
          {"nowhere", "key6"}},
         {{"App1", "key1", "default"}, {"App3", "key5", "default"}}, {{"App3", "key5", 150, 150}},
         "[App3]\r\nkey6=6\r\n"},
        {"writing replaces a value in place, appends a new key to its section and keeps the rest",
         "; comment\r\n[s]\r\na=1\r\nname3\r\n[t]\r\nc=3\r\n",
         {{"S", "A", "9"}, {"s", "b", "2"}, {"s", "name3", "x"}},
         {{"s", "a", "9"}, {"s", "name3", "x"}, {"t", "c", "3"}}, {},
         "; comment\r\n[s]\r\na=9\r\nname3=x\r\nb=2\r\n[t]\r\nc=3\r\n"},
        {"a written quoted value reads back without its quotes; a file without a final newline",
         "[s]\r\na=1", {{"s", "name", "\"Caliper 1\""}, {"t", "c", "3"}},
         {{"s", "name", "Caliper 1"}, {"s", "a", "1"}, {"t", "c", "3"}}},
    };
    // clang-format on
    return cases;
}

// Runs one case against api with its file at directory/name; every mismatch fails the test.
inline void RunCase(const ProfileCase& testCase, const ProfileApi& api,
                    const TemporaryDirectory& directory, const std::string& name) {
    SCOPED_TRACE(std::string(testCase.name) + ", " + name);
    const std::string path = directory.File(name);
    std::remove(path.c_str());
    if (testCase.content) {
        directory.Write(name, *testCase.content);
    }
    for (const Edit& edit : testCase.edits) {
        EXPECT_TRUE(api.writeString(path, edit.section, edit.key, edit.value)) << edit.section;
    }
    for (const StringRead& read : testCase.strings) {
        std::string buffer(read.bufferSize + 8, '#');  // '#' marks what was not written
        const std::size_t count = api.getString(path, read.section, read.key, read.defaultValue,
                                                buffer.data(), read.bufferSize);
        const std::string where = std::string("[") + read.section + "] " + read.key + " (buffer " +
                                  std::to_string(read.bufferSize) + ")";
        ASSERT_EQ(count, read.expected.size()) << where;
        EXPECT_EQ(buffer.substr(0, count), read.expected) << where;
        EXPECT_EQ(buffer[count], read.bufferSize == 0 ? '#' : '\0') << where;
        EXPECT_EQ(buffer.find_first_not_of('#', read.bufferSize), std::string::npos) << where;
    }
    for (const IntRead& read : testCase.ints) {
        EXPECT_EQ(api.getInt(path, read.section, read.key, read.defaultValue), read.expected)
            << "[" << read.section << "] " << read.key;
    }
    if (testCase.expectedFile) {
        EXPECT_EQ(directory.Read(name), std::string(*testCase.expectedFile));
    }
    std::remove(path.c_str());
}

}  // namespace gage::profile_cases
