#pragma once
// The private-profile behaviour the configuration files rely on, as one table of cases. The unit
// tests run it against gage::profile; the Windows tests run it against both gage::profile and the
// system's GetPrivateProfileStringA / GetPrivateProfileIntA / WritePrivateProfileStringA, so the
// two cannot drift apart. Expected values are those of Windows; where Wine behaves otherwise the
// case says why in wineDiffers and the Windows tests skip the system check for it.

#include <cstddef>
#include <cstdio>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace gage::profile_cases {

using namespace std::string_view_literals;

struct Edit {
    enum Kind { Write, DeleteKey, DeleteSection } kind;
    const char* section;
    const char* key;
    const char* value;
};

struct StringRead {
    const char* section;
    const char* key;
    const char* defaultValue;
    std::size_t bufferSize;
    std::string_view expected;
};

struct IntRead {
    const char* section;
    const char* key;
    int defaultValue;
    int expected;
};

struct ProfileCase {
    const char* name;
    std::optional<std::string_view> content{};  // the file before the edits; nullopt: no file
    std::vector<Edit> edits{};
    std::vector<StringRead> strings{};
    std::vector<IntRead> ints{};
    std::optional<std::string_view> expectedFile{};  // the exact bytes after the edits
    const char* wineDiffers = nullptr;               // why Wine is not held to this case
};

// The operations under test, bound to one implementation.
struct ProfileApi {
    std::function<std::size_t(const std::string& path, const char* section, const char* key,
                              const char* defaultValue, char* buffer, std::size_t bufferSize)>
        getString;
    std::function<int(const std::string& path, const char* section, const char* key,
                      int defaultValue)>
        getInt;
    std::function<bool(const std::string& path, const char* section, const char* key,
                       const char* value)>
        writeString;
    std::function<bool(const std::string& path, const char* section, const char* key)> deleteKey;
    std::function<bool(const std::string& path, const char* section)> deleteSection;
};

inline const std::vector<ProfileCase>& Cases() {
    static const std::vector<ProfileCase> cases = {
        {"plain lookup",
         "[section1]\r\nname1=val1\r\nname4=a\r\n"sv,
         {},
         {{"section1", "name1", "default", 256, "val1"sv},
          {"section1", "name4", "default", 256, "a"sv}}},
        {"sections and keys without regard to case",
         "[SeCtIoN1]\r\nNaMe1=val1\r\n"sv,
         {},
         {{"section1", "NAME1", "default", 256, "val1"sv},
          {"SECTION1", "name1", "default", 256, "val1"sv}}},
        {"missing file gives the default",
         std::nullopt,
         {},
         {{"section1", "name1", "default", 256, "default"sv}},
         {{"section1", "name1", 150, 150}}},
        {"missing section and key give the default",
         "[section1]\r\nname1=val1\r\n"sv,
         {},
         {{"nosection", "name1", "default", 256, "default"sv},
          {"section1", "nokey", "default", 256, "default"sv},
          {"section1", "nokey", "", 256, ""sv}},
         {{"nosection", "name1", -7, -7}, {"section1", "nokey", 42, 42}}},
        {"an empty section gives the default",
         "[section1]\r\n[section2]\r\n"sv,
         {},
         {{"section2", "name1", "", 256, ""sv}, {"section1", "name1", "dflt", 256, "dflt"sv}}},
        {"values are cut to the buffer",
         "[s]\r\nname1=val1\r\n"sv,
         {},
         {{"s", "name1", "default", 4, "val"sv},
          {"s", "name1", "default", 5, "val1"sv},
          {"s", "name1", "default", 2, "v"sv},
          {"s", "name1", "default", 1, ""sv},
          {"s", "name1", "default", 0, ""sv},
          {"s", "missing", "default", 4, "def"sv}}},
        {"blanks around names and values are ignored",
         "  [  spaced section  ]  \r\n \t key one \t=  \t value with  inner blanks \t \r\n"sv,
         {},
         {{"spaced section", "key one", "default", 256, "value with  inner blanks"sv},
          {"  spaced section ", " key one  ", "default", 256, "value with  inner blanks"sv}}},
        {"enclosing quotes are stripped",
         "[q]\r\ndouble=\"val2\"\r\nsingle='val3'\r\nmixed=\"val4'\r\nalone=\"\r\n"
         "empty=\"\"\r\ninner=\"a\"b\"\r\nopen=\"abc\r\nleading=x\"y\"\r\n"
         "list=\"Bench, left\",1,2\r\n"sv,
         {},
         {{"q", "double", "default", 256, "val2"sv},
          {"q", "single", "default", 256, "val3"sv},
          {"q", "mixed", "default", 256, "\"val4'"sv},
          {"q", "alone", "default", 256, "\""sv},
          {"q", "empty", "default", 256, ""sv},
          {"q", "inner", "default", 256, "a\"b"sv},
          {"q", "open", "default", 256, "\"abc"sv},
          {"q", "leading", "default", 256, "x\"y\""sv},
          {"q", "list", "default", 256, "\"Bench, left\",1,2"sv}}},
        {"quoted values are cut after the quotes are stripped",
         "[q]\r\nv=\"abcdef\"\r\n"sv,
         {},
         {{"q", "v", "default", 4, "abc"sv}, {"q", "v", "default", 8, "abcdef"sv}}},
        {"a quoted value that just fits the buffer",
         "[q]\r\nv=\"abcdef\"\r\n"sv,
         {},
         {{"q", "v", "default", 7, "abcdef"sv}},
         {},
         std::nullopt,
         "Wine drops one more character when the unquoted value exactly fills the buffer; "
         "Windows documents the value as cut to the buffer size minus one"},
        {"the default loses its trailing blanks",
         "[s]\r\n"sv,
         {},
         {{"s", "missing", "default  ", 256, "default"sv},
          {"s", "missing", "one two  ", 256, "one two"sv}}},
        {"a line without '=' reads as missing",
         "[s]\r\nname3\r\nname4=\r\n"sv,
         {},
         {{"s", "name3", "default", 256, "default"sv}, {"s", "name4", "default", 256, ""sv}},
         {{"s", "name3", 9, 9}}},
        {"an empty value is not the default",
         "[s]\r\nempty=\r\n"sv,
         {},
         {{"s", "empty", "default", 256, ""sv}}},
        {"comment lines are not keys",
         "; [s]\r\n[s]\r\n;name=commented\r\nname2=v\r\n"sv,
         {},
         {{"s", "name", "default", 256, "default"sv}, {"s", "name2", "default", 256, "v"sv}}},
        {"the first of duplicate keys wins",
         "[s]\r\nk=first\r\nK=second\r\n"sv,
         {},
         {{"s", "k", "default", 256, "first"sv}}},
        {"only the first of duplicate sections is read",
         "[a]\r\nk1=1\r\n[b]\r\nx=1\r\n[A]\r\nk1=2\r\nk2=3\r\n"sv,
         {},
         {{"a", "k1", "default", 256, "1"sv},
          {"a", "k2", "default", 256, "default"sv},
          {"b", "x", "default", 256, "1"sv}}},
        {"the value runs from the first '='",
         "[s]\r\nk=a=b\r\n"sv,
         {},
         {{"s", "k", "default", 256, "a=b"sv}}},
        {"a header ends at its last ']'",
         "[s]x]\r\nk=1\r\n[t] trailing\r\nk=2\r\n"sv,
         {},
         {{"s]x", "k", "default", 256, "1"sv}, {"t", "k", "default", 256, "2"sv}}},
        {"keys before the first header belong to no section",
         "k=v\r\n[s]\r\nj=w\r\n"sv,
         {},
         {{"s", "k", "default", 256, "default"sv}, {"s", "j", "default", 256, "w"sv}}},
        {"LF line endings",
         "[s]\nk=v\nj=w\n"sv,
         {},
         {{"s", "k", "default", 256, "v"sv}, {"s", "j", "default", 256, "w"sv}}},
        {"CR line endings",
         "[s]\rk=v\rj=w\r"sv,
         {},
         {{"s", "k", "default", 256, "v"sv}, {"s", "j", "default", 256, "w"sv}}},
        {"no newline at the end", "[s]\r\nk=v"sv, {}, {{"s", "k", "default", 256, "v"sv}}},
        {"a UTF-8 byte order mark",
         "\xEF\xBB\xBF[s]\r\nk=v\r\n"sv,
         {},
         {{"s", "k", "default", 256, "v"sv}}},
        {"DOS end-of-file mark and tabs are blanks",
         "[s]\r\n\tk\t=\tv\t\r\n\x1a"sv,
         {},
         {{"s", "k", "default", 256, "v"sv}}},
        {"integers",
         "[n]\r\na=12\r\nb=-1\r\nc=+5\r\nd=42abc\r\ne=abc\r\nf=\r\ng=\"17\"\r\n"
         "h=1 2\r\ni=70000\r\nj=0\r\nk=- 3\r\n"sv,
         {},
         {},
         {{"n", "a", 5, 12},
          {"n", "b", 5, -1},
          {"n", "c", 5, 5},
          {"n", "d", 5, 42},
          {"n", "e", 5, 0},
          {"n", "f", 5, 5},
          {"n", "g", 5, 17},
          {"n", "h", 5, 1},
          {"n", "i", 5, 70000},
          {"n", "j", 5, 0},
          {"n", "k", 5, 0},
          {"n", "missing", 5, 5}}},
        {"integers wrap at 32 bits",
         "[n]\r\na=4294967296\r\nb=4294967297\r\nc=-4294967297\r\n"
         "d=42A94967297\r\ne=B4294967297\r\n"sv,
         {},
         {},
         {{"n", "a", -1, 0},
          {"n", "b", -1, 1},
          {"n", "c", 1, -1},
          {"n", "d", 1, 42},
          {"n", "e", 1, 0}}},
        {"integers are decimal",
         "[n]\r\nhex=0x10\r\n"sv,
         {},
         {},
         {{"n", "hex", 5, 0}},
         std::nullopt,
         "Wine reads a 0x prefix as hexadecimal; the documented reading (and the configuration "
         "files' rule) is leading decimal digits, so \"0x10\" is 0"},
        {"writing builds sections in order",
         std::nullopt,
         {{Edit::Write, "App1", "key1", "string1"},
          {Edit::Write, "App1", "key2", "string2"},
          {Edit::Write, "App1", "key3", "string3"},
          {Edit::Write, "App2", "key4", "string4"},
          {Edit::Write, "App3", "key5", "string5"}},
         {{"app1", "KEY2", "default", 256, "string2"sv}},
         {},
         "[App1]\r\nkey1=string1\r\nkey2=string2\r\nkey3=string3\r\n[App2]\r\nkey4=string4\r\n"
         "[App3]\r\nkey5=string5\r\n"sv},
        {"deleting keys and sections",
         "[App1]\r\nkey1=string1\r\nkey2=string2\r\nkey3=string3\r\n[App2]\r\nkey4=string4\r\n"
         "[App3]\r\nkey5=string5\r\n"sv,
         {{Edit::DeleteKey, "App1", "key2", nullptr},
          {Edit::DeleteKey, "App1", "key2", nullptr},
          {Edit::DeleteSection, "app1", nullptr, nullptr},
          {Edit::DeleteSection, "App2", nullptr, nullptr},
          {Edit::DeleteKey, "App3", "KEY5", nullptr}},
         {{"App1", "key1", "default", 256, "default"sv},
          {"App3", "key5", "default", 256, "default"sv}},
         {},
         "[App3]\r\n"sv},
        {"an empty value is written as such",
         std::nullopt,
         {{Edit::Write, "App", "key", ""}},
         {{"App", "key", "default", 256, ""sv}},
         {{"App", "key", 3, 3}},
         "[App]\r\nkey=\r\n"sv},
        {"writing replaces a value in place and keeps the rest",
         "; comment\r\n[s]\r\na=1\r\nb=2\r\n[t]\r\nc=3\r\n"sv,
         {{Edit::Write, "S", "A", "9"}},
         {{"s", "a", "default", 256, "9"sv}, {"t", "c", "default", 256, "3"sv}},
         {},
         "; comment\r\n[s]\r\na=9\r\nb=2\r\n[t]\r\nc=3\r\n"sv},
        {"a new key goes to the end of its section",
         "[s]\r\na=1\r\n[t]\r\nc=3\r\n"sv,
         {{Edit::Write, "s", "b", "2"}},
         {{"s", "b", "default", 256, "2"sv}},
         {},
         "[s]\r\na=1\r\nb=2\r\n[t]\r\nc=3\r\n"sv},
        {"writing a key that had no '='",
         "[s]\r\nname3\r\n"sv,
         {{Edit::Write, "s", "name3", "x"}},
         {{"s", "name3", "default", 256, "x"sv}},
         {},
         "[s]\r\nname3=x\r\n"sv},
        {"a written quoted value reads back without its quotes",
         std::nullopt,
         {{Edit::Write, "s", "name", "\"Caliper 1\""}},
         {{"s", "name", "default", 256, "Caliper 1"sv}}},
        {"writing to a file without a final newline",
         "[s]\r\na=1"sv,
         {{Edit::Write, "s", "b", "2"}, {Edit::Write, "t", "c", "3"}},
         {{"s", "a", "default", 256, "1"sv},
          {"s", "b", "default", 256, "2"sv},
          {"t", "c", "default", 256, "3"sv}}},
        {"deleting what is not there changes nothing",
         "[s]\r\na=1\r\n"sv,
         {{Edit::DeleteKey, "s", "b", nullptr},
          {Edit::DeleteSection, "t", nullptr, nullptr},
          {Edit::DeleteKey, "u", "a", nullptr}},
         {{"s", "a", "default", 256, "1"sv}},
         {},
         "[s]\r\na=1\r\n"sv},
        {"a deleted key reads as its default",
         "[n]\r\nwait=20\r\n"sv,
         {{Edit::DeleteKey, "n", "wait", nullptr}},
         {},
         {{"n", "wait", 150, 150}}},
    };
    return cases;
}

inline void WriteFileBytes(const std::string& path, std::string_view bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::optional<std::string> ReadFileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return std::nullopt;
    }
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

inline std::string Printable(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (c == '\r') {
            out += "\\r";
        } else if (c == '\n') {
            out += "\\n";
        } else if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) > 0x7e) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", static_cast<unsigned char>(c));
            out += hex;
        } else {
            out += c;
        }
    }
    return out;
}

// Runs one case against api with its file at path; returns a description of every mismatch.
inline std::vector<std::string> RunCase(const ProfileCase& testCase, const ProfileApi& api,
                                        const std::string& path) {
    std::vector<std::string> failures;
    std::remove(path.c_str());
    if (testCase.content) {
        WriteFileBytes(path, *testCase.content);
    }
    for (const Edit& edit : testCase.edits) {
        bool done = false;
        switch (edit.kind) {
            case Edit::Write:
                done = api.writeString(path, edit.section, edit.key, edit.value);
                break;
            case Edit::DeleteKey:
                done = api.deleteKey(path, edit.section, edit.key);
                break;
            case Edit::DeleteSection:
                done = api.deleteSection(path, edit.section);
                break;
        }
        if (!done) {
            failures.push_back(std::string("edit of [") + edit.section + "] failed");
        }
    }
    for (const StringRead& read : testCase.strings) {
        constexpr char kUntouched = '#';
        std::string buffer(read.bufferSize + 8, kUntouched);
        const std::size_t count = api.getString(path, read.section, read.key, read.defaultValue,
                                                buffer.data(), read.bufferSize);
        std::ostringstream where;
        where << "[" << read.section << "] " << read.key << " (buffer " << read.bufferSize << "): ";
        if (read.bufferSize == 0) {
            if (count != 0 || buffer[0] != kUntouched) {
                failures.push_back(where.str() + "a zero-size buffer was used");
            }
            continue;
        }
        const std::string_view got(buffer.data(), std::min(count, read.bufferSize));
        if (count != read.expected.size() || got != read.expected || buffer[count] != '\0') {
            failures.push_back(where.str() + "expected \"" + Printable(read.expected) +
                               "\", got \"" + Printable(got) + "\" (" + std::to_string(count) +
                               ")");
        }
        if (buffer.find_first_not_of(kUntouched, read.bufferSize) != std::string::npos) {
            failures.push_back(where.str() + "wrote past the buffer");
        }
    }
    for (const IntRead& read : testCase.ints) {
        const int got = api.getInt(path, read.section, read.key, read.defaultValue);
        if (got != read.expected) {
            failures.push_back(std::string("[") + read.section + "] " + read.key + ": expected " +
                               std::to_string(read.expected) + ", got " + std::to_string(got));
        }
    }
    if (testCase.expectedFile) {
        const std::optional<std::string> bytes = ReadFileBytes(path);
        if (!bytes || *bytes != *testCase.expectedFile) {
            failures.push_back("file expected \"" + Printable(*testCase.expectedFile) +
                               "\", got \"" + (bytes ? Printable(*bytes) : "(none)") + "\"");
        }
    }
    std::remove(path.c_str());
    return failures;
}

}  // namespace gage::profile_cases
