// Writing profile files: one atomic replacement per change or batch, the old file whole after a
// failure at any step, and everything not written left as it was.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "config/profile.h"
#include "config/profile_atomic_write.h"
#include "unit/profile_test_support.h"

namespace gage::profile_cases {
namespace {

using profile::detail::FailWritesAtStepForTesting;
using profile::detail::WriteStep;

class ProfileWriteTest : public ::testing::Test {
  protected:
    void TearDown() override { FailWritesAtStepForTesting(std::nullopt); }

    std::vector<std::string> DirectoryEntries() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(directory.path())) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    TemporaryDirectory directory;
    const std::string path = directory.File("BRW_GAGE.CFG");
    const std::string original = "; kept\r\n[APPLICATION]\r\nNAME=ZRNGSV32\r\nVERSION=9\r\n";
};

TEST_F(ProfileWriteTest, AFailureAtAnyStepLeavesTheOldFileWhole) {
    for (const WriteStep step :
         {WriteStep::OpenTemporary, WriteStep::Write, WriteStep::Flush, WriteStep::Replace}) {
        SCOPED_TRACE(static_cast<int>(step));
        WriteFileBytes(path, original);
        EXPECT_EQ(profile::GetString(path, "APPLICATION", "VERSION"), "9");

        FailWritesAtStepForTesting(step);
        EXPECT_FALSE(profile::WriteString(path, "APPLICATION", "VERSION", "10"));
        profile::Batch batch(path);
        batch.DeleteSection("APPLICATION");
        EXPECT_FALSE(batch.Commit());
        EXPECT_FALSE(profile::DeleteKey(path, "APPLICATION", "NAME"));
        FailWritesAtStepForTesting(std::nullopt);

        EXPECT_EQ(ReadFileBytes(path), original);
        EXPECT_EQ(profile::GetString(path, "APPLICATION", "VERSION"), "9");
        EXPECT_EQ(DirectoryEntries(), std::vector<std::string>{"BRW_GAGE.CFG"});  // no leftovers
    }
    EXPECT_TRUE(profile::WriteString(path, "APPLICATION", "VERSION", "10"));
    EXPECT_EQ(profile::GetString(path, "APPLICATION", "VERSION"), "10");
}

TEST_F(ProfileWriteTest, AFailedFirstWriteCreatesNoFile) {
    FailWritesAtStepForTesting(WriteStep::Flush);
    EXPECT_FALSE(profile::WriteString(path, "S", "K", "V"));
    FailWritesAtStepForTesting(std::nullopt);
    EXPECT_TRUE(DirectoryEntries().empty());
    EXPECT_EQ(profile::GetString(path, "S", "K", "none"), "none");
}

TEST_F(ProfileWriteTest, ABatchWritesNothingBeforeCommitAndEverythingAfter) {
    WriteFileBytes(path, original);
    profile::Batch batch(path);
    batch.DeleteSection("APPLICATION");
    batch.WriteString("APPLICATION", "NAME", "ZRNGSV32");
    batch.WriteString("APPLICATION", "VERSION", "9");
    for (int i = 0; i < 500; ++i) {
        batch.WriteString("GAGES", "GAGE_" + std::to_string(i + 1),
                          "\"Gage " + std::to_string(i) + "\",3,2,0,5,SN,0,25,0,1,3,8,0");
    }
    EXPECT_EQ(ReadFileBytes(path), original);
    EXPECT_EQ(profile::GetString(path, "GAGES", "GAGE_1", "none"), "none");

    ASSERT_TRUE(batch.Commit(true));
    EXPECT_EQ(profile::GetString(path, "GAGES", "GAGE_500", "none"),
              "\"Gage 499\",3,2,0,5,SN,0,25,0,1,3,8,0");
    EXPECT_EQ(profile::GetString(path, "application", "version"), "9");
    EXPECT_EQ(ReadFileBytes(path + ".bak"), original);
    // The comment before the first section survives a rewrite of the whole section.
    EXPECT_EQ(ReadFileBytes(path)->rfind("; kept\r\n", 0), 0u);
}

TEST_F(ProfileWriteTest, AFailedBackupWritesNothing) {
    WriteFileBytes(path, original);
    profile::Batch batch(path);
    batch.WriteString("APPLICATION", "VERSION", "10");
    FailWritesAtStepForTesting(WriteStep::Backup);
    EXPECT_FALSE(batch.Commit(true));
    FailWritesAtStepForTesting(std::nullopt);
    EXPECT_EQ(ReadFileBytes(path), original);
    EXPECT_EQ(DirectoryEntries(), std::vector<std::string>{"BRW_GAGE.CFG"});
}

TEST_F(ProfileWriteTest, TheBackupIsThePreviousVersionAtEachCommit) {
    ASSERT_TRUE(profile::WriteString(path, "S", "K", "1"));
    for (int version = 2; version <= 4; ++version) {
        profile::Batch batch(path);
        batch.WriteString("S", "K", std::to_string(version));
        ASSERT_TRUE(batch.Commit(true));
        EXPECT_EQ(profile::GetString(path + ".bak", "S", "K"), std::to_string(version - 1));
        EXPECT_EQ(profile::GetString(path, "S", "K"), std::to_string(version));
    }
}

TEST_F(ProfileWriteTest, AnUnchangedBatchDoesNotTouchTheFile) {
    WriteFileBytes(path, original);
    const auto before = std::filesystem::last_write_time(path);
    profile::Batch batch(path);
    batch.WriteString("APPLICATION", "VERSION", "9");
    batch.DeleteKey("APPLICATION", "MISSING");
    EXPECT_TRUE(batch.Commit(true));
    EXPECT_EQ(std::filesystem::last_write_time(path), before);
    EXPECT_FALSE(std::filesystem::exists(path + ".bak"));
}

TEST_F(ProfileWriteTest, OneKeyChangesAndEverythingElseStaysByteForByte) {
    const std::string file =
        "\xEF\xBB\xBF; header comment\n\n[A]\nx = 1 ; not a comment\n\n; about B\n[B]\n"
        "  y  =  2  \nno_equals\nY=hidden duplicate\n\n[C]\nz=3\n";
    WriteFileBytes(path, file);
    ASSERT_TRUE(profile::WriteString(path, "b", "NEW", "4"));
    ASSERT_TRUE(profile::WriteString(path, "C", "z", "5"));
    EXPECT_EQ(ReadFileBytes(path),
              "\xEF\xBB\xBF; header comment\n\n[A]\nx = 1 ; not a comment\n\n; about B\n[B]\n"
              "  y  =  2  \nno_equals\nY=hidden duplicate\nNEW=4\n\n[C]\nz=5\n");
    EXPECT_EQ(profile::GetString(path, "A", "x"), "1 ; not a comment");
}

TEST_F(ProfileWriteTest, AnEmptyValueIsKeptAndADeletedKeyIsGone) {
    ASSERT_TRUE(profile::WriteString(path, "S", "EMPTY", ""));
    ASSERT_TRUE(profile::WriteString(path, "S", "GONE", "x"));
    ASSERT_TRUE(profile::DeleteKey(path, "S", "GONE"));
    EXPECT_EQ(profile::GetString(path, "S", "EMPTY", "default"), "");
    EXPECT_EQ(profile::GetString(path, "S", "GONE", "default"), "default");
    EXPECT_EQ(profile::GetInt(path, "S", "EMPTY", 7), 7);
    EXPECT_EQ(ReadFileBytes(path), "[S]\r\nEMPTY=\r\n");
}

// The system deletes only the first of duplicate sections or keys, which lets stale keys of a
// second copy reappear after a save; every copy goes here.
TEST_F(ProfileWriteTest, DeletingRemovesEveryDuplicate) {
    WriteFileBytes(
        path, "[GAGES]\r\nGAGE_1=a\r\nGAGE_1=old\r\n[X]\r\nk=1\r\n[gages]\r\nGAGE_5=stale\r\n");
    ASSERT_TRUE(profile::DeleteKey(path, "GAGES", "GAGE_1"));
    EXPECT_EQ(profile::GetString(path, "GAGES", "GAGE_1", "none"), "none");
    ASSERT_TRUE(profile::DeleteSection(path, "Gages"));
    ASSERT_TRUE(profile::WriteString(path, "GAGES", "GAGE_1", "new"));
    EXPECT_EQ(profile::GetString(path, "GAGES", "GAGE_5", "none"), "none");
    EXPECT_EQ(ReadFileBytes(path), "[X]\r\nk=1\r\n[GAGES]\r\nGAGE_1=new\r\n");
}

TEST_F(ProfileWriteTest, TextThatWouldNotReadBackIsRefused) {
    WriteFileBytes(path, original);
    EXPECT_FALSE(profile::WriteString(path, "APPLICATION", "NAME", "two\r\nlines"));
    EXPECT_FALSE(profile::WriteString(path, "APPLICATION", "A=B", "x"));
    EXPECT_FALSE(profile::WriteString(path, "APPLICATION", ";comment", "x"));
    EXPECT_FALSE(profile::WriteString(path, "APPLICATION", "  ", "x"));
    EXPECT_FALSE(profile::WriteString(path, "", "KEY", "x"));
    EXPECT_FALSE(profile::WriteString(path, "SEC\nTION", "KEY", "x"));
    EXPECT_FALSE(profile::WriteString("", "S", "K", "x"));
    EXPECT_EQ(ReadFileBytes(path), original);

    profile::Batch batch(path);
    batch.WriteString("APPLICATION", "BAD", "a\nb");
    batch.WriteString("APPLICATION", "GOOD", "c");
    EXPECT_FALSE(batch.Commit());  // says not everything was written ...
    EXPECT_EQ(profile::GetString(path, "APPLICATION", "GOOD"), "c");  // ... but keeps the rest
    EXPECT_EQ(profile::GetString(path, "APPLICATION", "BAD", "none"), "none");
}

TEST_F(ProfileWriteTest, AFileInAMissingDirectoryIsNotWritten) {
    const std::string missing = directory.File("no-such-dir") + "/X.INI";
    EXPECT_FALSE(profile::WriteString(missing, "S", "K", "V"));
    EXPECT_EQ(profile::GetString(missing, "S", "K", "none"), "none");
}

}  // namespace
}  // namespace gage::profile_cases
