// Profile files on disk: a file changed behind the store's back is read again, whatever the
// clock; each change or batch is one atomic replacement, the old file whole after a failure at any
// step; everything not written stays as it was; and large files are read and written whole.
// (Files of any content are the configuration fuzz target's part.)

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "config/profile.h"
#include "unit/config_test_files.h"

namespace gage {
namespace {

using profile::detail::WriteStep;
using test::ConfigTestDirectory;

constexpr std::string_view kOriginal = "; kept\r\n[APPLICATION]\r\nNAME=ZRNGSV32\r\nVERSION=9\r\n";

class ProfileFileTest : public ::testing::Test {
  protected:
    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir.File(""))) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }
    std::string Get(std::string_view section, std::string_view key) const {
        return profile::GetString(path, section, key, "none");
    }

    ConfigTestDirectory dir;
    const std::string path = dir.Write("BRW_GAGE.CFG", kOriginal);
};

TEST_F(ProfileFileTest, AFailureAtAnyStepLeavesTheOldFileWholeAndNothingBeside) {
    for (const WriteStep step : {WriteStep::OpenTemporary, WriteStep::Write, WriteStep::Flush,
                                 WriteStep::Backup, WriteStep::Replace}) {
        SCOPED_TRACE(static_cast<int>(step));
        EXPECT_EQ(Get("APPLICATION", "VERSION"), "9");
        dir.store().RefuseWritesAt(step);
        profile::Batch batch(path);
        batch.DeleteSection("APPLICATION");
        EXPECT_FALSE(batch.Commit(true));
        if (step != WriteStep::Backup) {  // the one step a write without backup does not take
            EXPECT_FALSE(profile::WriteString(path, "APPLICATION", "VERSION", "10"));
            EXPECT_FALSE(profile::DeleteKey(path, "APPLICATION", "NAME"));
            EXPECT_FALSE(profile::WriteString(dir.File("NEW.CFG"), "S", "K", "V"));
        }
        dir.store().RefuseWritesAt(std::nullopt);
        EXPECT_EQ(ConfigTestDirectory::Read(path), kOriginal);
        EXPECT_EQ(Get("APPLICATION", "VERSION"), "9");
        if (step == WriteStep::Replace) {  // the backup was made: it is the old version too
            EXPECT_EQ(ConfigTestDirectory::Read(path + ".bak"), kOriginal);
            std::filesystem::remove(path + ".bak");
        }
        EXPECT_EQ(Entries(), std::vector<std::string>{"BRW_GAGE.CFG"});
    }
    EXPECT_TRUE(profile::WriteString(path, "APPLICATION", "VERSION", "10"));
    EXPECT_EQ(Get("APPLICATION", "VERSION"), "10");
}

// A reader that opened the file before a save goes on reading the old version whole: the save
// replaces the file (or, where an open file cannot be replaced, fails); it never writes into it.
TEST_F(ProfileFileTest, AReaderOfTheOldFileKeepsTheOldVersion) {
    std::ifstream reader(path, std::ios::binary);
    const bool saved = profile::WriteString(path, "APPLICATION", "VERSION", "10");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(reader), {}), kOriginal);
    EXPECT_EQ(Get("APPLICATION", "VERSION"), saved ? "10" : "9");
}

// An unchanged batch does not touch the file; a changed one writes nothing before its commit and
// keeps the previous version at each.
TEST_F(ProfileFileTest, ABatchWritesOnlyAtCommitAndOnlyAChange) {
    const auto writeTime = std::filesystem::last_write_time(path);
    profile::Batch batch(path);
    batch.WriteString("APPLICATION", "VERSION", "9");
    batch.DeleteKey("APPLICATION", "MISSING");
    EXPECT_TRUE(batch.Commit(true));
    EXPECT_EQ(std::filesystem::last_write_time(path), writeTime);
    EXPECT_EQ(Entries(), std::vector<std::string>{"BRW_GAGE.CFG"});

    batch.DeleteSection("APPLICATION");
    batch.WriteString("APPLICATION", "VERSION", "9");
    for (int i = 1; i <= 500; ++i) {
        batch.WriteString("GAGES", "GAGE_" + std::to_string(i),
                          "\"Gage " + std::to_string(i) + "\"");
    }
    EXPECT_EQ(ConfigTestDirectory::Read(path), kOriginal);
    EXPECT_EQ(Get("GAGES", "GAGE_1"), "none");
    ASSERT_TRUE(batch.Commit(true));
    EXPECT_EQ(Get("GAGES", "GAGE_500"), "Gage 500");
    EXPECT_EQ(Get("application", "version"), "9");
    EXPECT_EQ(ConfigTestDirectory::Read(path + ".bak"), kOriginal);
    // The comment before the first section survives a rewrite of the whole section.
    EXPECT_EQ(ConfigTestDirectory::Read(path).rfind("; kept\r\n", 0), 0u);
    const std::string before = ConfigTestDirectory::Read(path);
    batch.WriteString("APPLICATION", "VERSION", "10");
    ASSERT_TRUE(batch.Commit(true));
    EXPECT_EQ(ConfigTestDirectory::Read(path + ".bak"), before);
    EXPECT_EQ(Get("APPLICATION", "VERSION"), "10");
}

TEST_F(ProfileFileTest, OneKeyChangesAndEverythingElseStaysByteForByte) {
    const std::string head = "\xEF\xBB\xBF; header comment\n\n[A]\nx = 1 ; not a comment\n\n";
    const std::string b = "; about B\n[B]\n  y  =  2  \nno_equals\nY=hidden duplicate\n";
    dir.Write("BRW_GAGE.CFG", head + b + "\n[C]\nz=3\n");
    ASSERT_TRUE(profile::WriteString(path, "b", "NEW", "4"));
    ASSERT_TRUE(profile::WriteString(path, "C", "z", "5"));
    EXPECT_EQ(ConfigTestDirectory::Read(path), head + b + "NEW=4\n\n[C]\nz=5\n");
    EXPECT_EQ(Get("A", "x"), "1 ; not a comment");
}

// The system deletes only the first of duplicate sections or keys, which lets stale keys of a
// second copy reappear after a save; every copy goes here.
TEST_F(ProfileFileTest, DeletingRemovesEveryDuplicate) {
    dir.Write("BRW_GAGE.CFG",
              "[GAGES]\r\nGAGE_1=a\r\ngage_1 = old\r\n[X]\r\nk=1\r\n[gages]\r\nGAGE_5=stale\r\n");
    ASSERT_TRUE(profile::DeleteKey(path, "GAGES", "GAGE_1"));
    EXPECT_EQ(Get("GAGES", "GAGE_1"), "none");
    EXPECT_EQ(ConfigTestDirectory::Read(path),
              "[GAGES]\r\n[X]\r\nk=1\r\n[gages]\r\nGAGE_5=stale\r\n");
    ASSERT_TRUE(profile::DeleteSection(path, "Gages"));
    ASSERT_TRUE(profile::WriteString(path, "GAGES", "GAGE_1", "new"));
    EXPECT_EQ(Get("GAGES", "GAGE_5"), "none");
    EXPECT_EQ(ConfigTestDirectory::Read(path), "[X]\r\nk=1\r\n[GAGES]\r\nGAGE_1=new\r\n");
}

TEST_F(ProfileFileTest, TextThatWouldNotReadBackIsRefused) {
    // clang-format off
    const std::vector<std::vector<std::string>> refused = {{"APPLICATION", "NAME", "two\r\nlines"},
        {"APPLICATION", "A=B", "x"}, {"APPLICATION", ";comment", "x"}, {"APPLICATION", "  ", "x"},
        {"", "KEY", "x"}, {"SEC\nTION", "KEY", "x"}, {"APPLICATION", "NUL", std::string("a\0b", 3)},
        {"", "S", "K", "x"}, {dir.File("no-such-dir") + "/X.INI", "S", "K", "V"}};
    // clang-format on
    for (const auto& w : refused) {  // three fields: to the file; four: to the first one's path
        EXPECT_FALSE(w.size() == 3 ? profile::WriteString(path, w[0], w[1], w[2])
                                   : profile::WriteString(w[0], w[1], w[2], w[3]))
            << w[1];
    }
    EXPECT_EQ(ConfigTestDirectory::Read(path), kOriginal);

    profile::Batch batch(path);
    batch.WriteString("APPLICATION", "BAD", "a\nb");
    batch.WriteString("APPLICATION", "GOOD", "c");
    EXPECT_FALSE(batch.Commit());                // says not everything was written ...
    EXPECT_EQ(Get("APPLICATION", "GOOD"), "c");  // ... but keeps the rest
    EXPECT_EQ(Get("APPLICATION", "BAD"), "none");
}

// Same size, within the same clock tick, only the content tells; a file put back from a copy that
// kept its size and its (long past) write time, only the file's identity.
TEST_F(ProfileFileTest, AFileChangedOnDiskIsReadAgain) {
    for (const char* value : {"1", "2", "three"}) {
        dir.Write("BRW_GAGE.CFG", std::string("[S]\r\nK=") + value + "\r\n");
        EXPECT_EQ(Get("S", "K"), value);
    }
    std::filesystem::remove(path);
    EXPECT_EQ(Get("S", "K"), "none");
    dir.Write("BRW_GAGE.CFG", "[S]\r\nK=1\r\n");
    const std::string copy = dir.Write("COPY.CFG", "[S]\r\nK=2\r\n");
    const auto longAgo = std::filesystem::file_time_type::clock::now() - std::chrono::hours(1);
    std::filesystem::last_write_time(path, longAgo);
    std::filesystem::last_write_time(copy, longAgo);
    EXPECT_EQ(Get("S", "K"), "1");
    std::filesystem::rename(copy, path);
    EXPECT_EQ(Get("S", "K"), "2");
}

TEST_F(ProfileFileTest, LongLinesAndManySectionsAreReadAndWritten) {
    const std::string longValue(100000, 'x');
    std::string file =
        "[S]\r\n=nameless\r\nLONG=" + longValue + "\r\n" + std::string(100000, '[') + "\r\n";
    for (int i = 0; i < 10000; ++i) {
        file += "[TYPE" + std::to_string(i) + ".1]\nMEASTIMEOUT=" + std::to_string(i) + "\n";
    }
    file.pop_back();  // no newline at the end
    dir.Write("BRW_GAGE.CFG", file);
    EXPECT_EQ(profile::GetString(path, "S", "LONG", "", 256), std::string(255, 'x'));
    EXPECT_EQ(profile::GetString(path, "S", "LONG", "", 200000), longValue);
    EXPECT_EQ(Get("S", " "), "none");  // an empty key names no line, not even one without a key
    for (int i = 0; i < 10000; i += 7) {
        ASSERT_EQ(profile::GetInt(path, "type" + std::to_string(i) + ".1", "MEASTIMEOUT", -1), i);
    }
    profile::Batch batch(path);
    for (int i = 0; i < 10000; i += 2) {
        batch.DeleteSection("TYPE" + std::to_string(i) + ".1");
    }
    ASSERT_TRUE(batch.Commit());
    EXPECT_EQ(Get("TYPE4.1", "MEASTIMEOUT"), "none");
    EXPECT_EQ(Get("TYPE9999.1", "MEASTIMEOUT"), "9999");
    EXPECT_EQ(profile::GetString(path, "S", "LONG", "", 200000), longValue);

    EXPECT_EQ(profile::GetString(dir.File(""), "S", "K", "none"), "none");  // a directory
    EXPECT_EQ(profile::GetInt("", "S", "K", 3), 3);
}

}  // namespace
}  // namespace gage
