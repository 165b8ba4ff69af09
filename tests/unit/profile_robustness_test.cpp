// Profile files that are large, odd or garbage, and files changed behind the cache's back.

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "config/profile.h"
#include "unit/profile_test_support.h"

namespace gage::profile_cases {
namespace {

class ProfileRobustnessTest : public ::testing::Test {
  protected:
    TemporaryDirectory directory;
    const std::string path = directory.File("TEST.INI");
};

TEST_F(ProfileRobustnessTest, AHundredThousandCharacterLineIsReadAndCut) {
    const std::string longValue(100000, 'x');
    WriteFileBytes(
        path, "[S]\r\nLONG=" + longValue + "\r\n" + std::string(100000, '[') + "\r\nAFTER=1\r\n");
    EXPECT_EQ(profile::GetString(path, "S", "LONG", "", 256), std::string(255, 'x'));
    EXPECT_EQ(profile::GetString(path, "S", "LONG", "", 200000), longValue);
    EXPECT_EQ(profile::GetString(path, "S", "AFTER"), "1");
    EXPECT_TRUE(profile::WriteString(path, "S", "AFTER", "2"));
    EXPECT_EQ(profile::GetString(path, "S", "LONG", "", 200000), longValue);
}

TEST_F(ProfileRobustnessTest, RandomBytesNeverBreakReadingOrWriting) {
    std::mt19937 random(12345);
    for (int round = 0; round < 20; ++round) {
        std::string garbage(64 * 1024, '\0');
        for (char& c : garbage) {
            // Mostly structure characters, so that headers, keys and quotes appear in numbers.
            static constexpr char kAlphabet[] = "[]=;\"' \t\r\n\x1a\0abcAB01\xEF\xBB\xBF\xFF";
            c = (random() % 4 == 0) ? static_cast<char>(random())
                                    : kAlphabet[random() % (sizeof kAlphabet - 1)];
        }
        WriteFileBytes(path, garbage);
        for (const char* section : {"a", "A", "", "b]", "0"}) {
            for (const char* key : {"a", "b", "\"", ""}) {
                char buffer[16];
                const std::size_t count = profile::GetString(path, section, key, "d", buffer, 16);
                ASSERT_LT(count, 16u);
                ASSERT_EQ(buffer[count], '\0');
                profile::GetInt(path, section, key, 1);
            }
        }
        ASSERT_TRUE(profile::WriteString(path, "GAGES", "GAGE_1", "written"));
        EXPECT_EQ(profile::GetString(path, "gages", "gage_1"), "written");
        ASSERT_TRUE(profile::DeleteSection(path, "a"));
    }
}

TEST_F(ProfileRobustnessTest, TenThousandSectionsAreAllFound) {
    std::string file;
    for (int i = 0; i < 10000; ++i) {
        file += "[TYPE" + std::to_string(i) + ".1]\nDESCRIPTION=Format " + std::to_string(i) +
                "\nMEASTIMEOUT=" + std::to_string(i % 65536) + "\n";
    }
    file.pop_back();  // no newline at the end
    WriteFileBytes(path, file);
    for (int i = 0; i < 10000; i += 7) {
        const std::string section = "type" + std::to_string(i) + ".1";
        ASSERT_EQ(profile::GetString(path, section, "description"), "Format " + std::to_string(i));
        ASSERT_EQ(profile::GetInt(path, section, "MEASTIMEOUT", -1), i);
    }
    profile::Batch batch(path);
    for (int i = 0; i < 10000; i += 2) {
        batch.DeleteSection("TYPE" + std::to_string(i) + ".1");
    }
    ASSERT_TRUE(batch.Commit());
    EXPECT_EQ(profile::GetString(path, "TYPE4.1", "DESCRIPTION", "gone"), "gone");
    EXPECT_EQ(profile::GetString(path, "TYPE9999.1", "DESCRIPTION"), "Format 9999");
}

TEST_F(ProfileRobustnessTest, AFileChangedOnDiskIsReadAgain) {
    WriteFileBytes(path, "[S]\r\nK=1\r\n");
    EXPECT_EQ(profile::GetString(path, "S", "K"), "1");
    // Same size, within the same clock tick: only the content tells.
    WriteFileBytes(path, "[S]\r\nK=2\r\n");
    EXPECT_EQ(profile::GetString(path, "S", "K"), "2");
    WriteFileBytes(path, "[S]\r\nK=three\r\n");
    EXPECT_EQ(profile::GetString(path, "S", "K"), "three");
    std::filesystem::remove(path);
    EXPECT_EQ(profile::GetString(path, "S", "K", "gone"), "gone");
    WriteFileBytes(path, "[S]\r\nK=4\r\n");
    EXPECT_EQ(profile::GetString(path, "S", "K"), "4");
    profile::ClearCache();
    EXPECT_EQ(profile::GetString(path, "S", "K"), "4");
}

TEST_F(ProfileRobustnessTest, ADirectoryIsReadAsAMissingFile) {
    EXPECT_EQ(profile::GetString(directory.path().string(), "S", "K", "none"), "none");
    EXPECT_EQ(profile::GetInt("", "S", "K", 3), 3);
}

}  // namespace
}  // namespace gage::profile_cases
