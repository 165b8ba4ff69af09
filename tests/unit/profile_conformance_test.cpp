// The private-profile behaviour the configuration files rely on, as one table of cases run
// against gage::profile and, on Windows, against the system's GetPrivateProfileStringA /
// GetPrivateProfileIntA / WritePrivateProfileStringA too, so that the two cannot drift apart.
// Expected values are those of Windows; where Wine behaves otherwise the case says why in
// wineDiffers and the system is not held to it.

#ifdef _WIN32
#include <windows.h>
#endif

#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "config/profile.h"
#include "config/profile_store.h"
#include "helpers/temporary_directory.h"

namespace gage {
namespace {

// As WritePrivateProfileString takes it: without a value the key goes, without a key the section.
struct Edit {
    const char *section, *key = nullptr, *value = nullptr;
};
// Reads without a buffer size use 256, without a default "default".
struct StringRead {
    const char *section, *key;
    std::string_view expected;
    std::size_t bufferSize = 256;
    const char* defaultValue = "default";
};
struct IntRead {
    const char *section, *key;
    int defaultValue, expected;
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

// The operations under test: ours, or on Windows the system's.
std::size_t GetString([[maybe_unused]] bool system, const std::string& path, const StringRead& r,
                      char* buffer) {
#ifdef _WIN32
    if (system) {
        return GetPrivateProfileStringA(r.section, r.key, r.defaultValue, buffer,
                                        static_cast<DWORD>(r.bufferSize), path.c_str());
    }
#endif
    return profile::GetString(path, r.section, r.key, r.defaultValue, buffer, r.bufferSize);
}
int GetInt([[maybe_unused]] bool system, const std::string& path, const IntRead& r) {
#ifdef _WIN32
    if (system) {
        return static_cast<int>(
            GetPrivateProfileIntA(r.section, r.key, r.defaultValue, path.c_str()));
    }
#endif
    return profile::GetInt(path, r.section, r.key, r.defaultValue);
}
bool Apply([[maybe_unused]] bool system, const std::string& path, const Edit& e) {
#ifdef _WIN32
    if (system) {
        return WritePrivateProfileStringA(e.section, e.key, e.value, path.c_str()) != 0;
    }
#endif
    return e.key == nullptr     ? profile::DeleteSection(path, e.section)
           : e.value == nullptr ? profile::DeleteKey(path, e.section, e.key)
                                : profile::WriteString(path, e.section, e.key, e.value);
}

// One read or edit per cell, several to a line.
// clang-format off
const std::vector<ProfileCase> kCases = {
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

// Runs one case against ours or the system with its file at directory/name; every mismatch fails
// the test.
void RunCase(const ProfileCase& testCase, bool system, const test::TemporaryDirectory& directory,
             const std::string& name) {
    SCOPED_TRACE(std::string(testCase.name) + ", " + name);
    const std::string path = directory.File(name);
    std::remove(path.c_str());
    if (testCase.content) {
        directory.Write(name, *testCase.content);
    }
    for (const Edit& edit : testCase.edits) {
        EXPECT_TRUE(Apply(system, path, edit)) << edit.section;
    }
    for (const StringRead& read : testCase.strings) {
        std::string buffer(read.bufferSize + 8, '#');  // '#' marks what was not written
        const std::size_t count = GetString(system, path, read, buffer.data());
        const std::string where = std::string("[") + read.section + "] " + read.key + " (buffer " +
                                  std::to_string(read.bufferSize) + ")";
        ASSERT_EQ(count, read.expected.size()) << where;
        EXPECT_EQ(buffer.substr(0, count), read.expected) << where;
        EXPECT_EQ(buffer[count], read.bufferSize == 0 ? '#' : '\0') << where;
        EXPECT_EQ(buffer.find_first_not_of('#', read.bufferSize), std::string::npos) << where;
    }
    for (const IntRead& read : testCase.ints) {
        EXPECT_EQ(GetInt(system, path, read), read.expected)
            << "[" << read.section << "] " << read.key;
    }
    if (testCase.expectedFile) {
        EXPECT_EQ(directory.Read(name), std::string(*testCase.expectedFile));
    }
    std::remove(path.c_str());
}

// Each case on a file of its own, then all again on one file, so that a stale cache entry shows.
// The system keeps its own cache of profile files by name, so it gets fresh names.
TEST(ProfileConformance, EveryCaseBehavesAsWindowsDoes) {
    const test::TemporaryDirectory directory;
    profile::Store store;
    const profile::StoreInUse storeInUse(store);
    for (const bool reused : {false, true}) {
        int index = 0;
        for (const ProfileCase& testCase : kCases) {
            const std::string name = "case" + std::to_string(index++);
            RunCase(testCase, false, directory, reused ? "reused.ini" : name);
#ifdef _WIN32
            if (reused) {
                continue;
            }
            if (testCase.wineDiffers == nullptr) {
                RunCase(testCase, true, directory, name + "-system.ini");
            } else {
                std::printf("note: not held against the system: %s (%s)\n", testCase.name,
                            testCase.wineDiffers);
            }
#endif
        }
    }
}

}  // namespace
}  // namespace gage
