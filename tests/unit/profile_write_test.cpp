// Writing profile files: one atomic replacement per change or batch, the old file whole after a
// failure at any step, and everything not written left as it was.

#include <gtest/gtest.h>

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

class ProfileWriteTest : public ::testing::Test {
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

TEST_F(ProfileWriteTest, AFailureAtAnyStepLeavesTheOldFileWholeAndNothingBeside) {
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
TEST_F(ProfileWriteTest, AReaderOfTheOldFileKeepsTheOldVersion) {
    std::ifstream reader(path, std::ios::binary);
    const bool saved = profile::WriteString(path, "APPLICATION", "VERSION", "10");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(reader), {}), kOriginal);
    EXPECT_EQ(Get("APPLICATION", "VERSION"), saved ? "10" : "9");
}

// An unchanged batch does not touch the file; a changed one writes nothing before its commit and
// keeps the previous version at each.
TEST_F(ProfileWriteTest, ABatchWritesOnlyAtCommitAndOnlyAChange) {
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
    for (int version = 10; version <= 11; ++version) {
        const std::string before = ConfigTestDirectory::Read(path);
        batch.WriteString("APPLICATION", "VERSION", std::to_string(version));
        ASSERT_TRUE(batch.Commit(true));
        EXPECT_EQ(ConfigTestDirectory::Read(path + ".bak"), before);
        EXPECT_EQ(Get("APPLICATION", "VERSION"), std::to_string(version));
    }
}

TEST_F(ProfileWriteTest, OneKeyChangesAndEverythingElseStaysByteForByte) {
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
TEST_F(ProfileWriteTest, DeletingRemovesEveryDuplicate) {
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

TEST_F(ProfileWriteTest, TextThatWouldNotReadBackIsRefused) {
    const std::vector<std::vector<std::string>> refused = {
        {"APPLICATION", "NAME", "two\r\nlines"},
        {"APPLICATION", "A=B", "x"},
        {"APPLICATION", ";comment", "x"},
        {"APPLICATION", "  ", "x"},
        {"", "KEY", "x"},
        {"SEC\nTION", "KEY", "x"},
        {"APPLICATION", "NUL", std::string("a\0b", 3)}};
    for (const auto& write : refused) {
        EXPECT_FALSE(profile::WriteString(path, write[0], write[1], write[2])) << write[1];
    }
    EXPECT_FALSE(profile::WriteString("", "S", "K", "x"));
    EXPECT_FALSE(profile::WriteString(dir.File("no-such-dir") + "/X.INI", "S", "K", "V"));
    EXPECT_EQ(ConfigTestDirectory::Read(path), kOriginal);

    profile::Batch batch(path);
    batch.WriteString("APPLICATION", "BAD", "a\nb");
    batch.WriteString("APPLICATION", "GOOD", "c");
    EXPECT_FALSE(batch.Commit());                // says not everything was written ...
    EXPECT_EQ(Get("APPLICATION", "GOOD"), "c");  // ... but keeps the rest
    EXPECT_EQ(Get("APPLICATION", "BAD"), "none");
}

}  // namespace
}  // namespace gage
