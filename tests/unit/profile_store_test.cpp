// The profile store: a file changed behind its back is read again, whatever the clock, and
// files that are large, odd or garbage neither break reading nor writing.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <string>

#include "config/profile.h"
#include "unit/config_test_files.h"

namespace gage {
namespace {

class ProfileStoreTest : public ::testing::Test {
  protected:
    std::string Get(std::string_view section, std::string_view key) const {
        return profile::GetString(path, section, key, "none");
    }

    test::ConfigTestDirectory dir;
    const std::string path = dir.File("TEST.INI");
};

TEST_F(ProfileStoreTest, AFileChangedOnDiskIsReadAgain) {
    dir.Write("TEST.INI", "[S]\r\nK=1\r\n");
    EXPECT_EQ(Get("S", "K"), "1");
    // Same size, within the same clock tick: only the content tells.
    dir.Write("TEST.INI", "[S]\r\nK=2\r\n");
    EXPECT_EQ(Get("S", "K"), "2");
    dir.Write("TEST.INI", "[S]\r\nK=three\r\n");
    EXPECT_EQ(Get("S", "K"), "three");
    std::filesystem::remove(path);
    EXPECT_EQ(Get("S", "K"), "none");
    dir.Write("TEST.INI", "[S]\r\nK=4\r\n");
    EXPECT_EQ(Get("S", "K"), "4");
}

// A file put back from a copy that kept its size and its (long past) write time: only the file's
// identity tells.
TEST_F(ProfileStoreTest, AFileReplacedByOneOfTheSameSizeAndTimeIsReadAgain) {
    dir.Write("TEST.INI", "[S]\r\nK=1\r\n");
    const std::string copy = dir.Write("COPY.INI", "[S]\r\nK=2\r\n");
    const auto longAgo = std::filesystem::file_time_type::clock::now() - std::chrono::hours(1);
    std::filesystem::last_write_time(path, longAgo);
    std::filesystem::last_write_time(copy, longAgo);
    EXPECT_EQ(Get("S", "K"), "1");
    std::filesystem::rename(copy, path);
    EXPECT_EQ(Get("S", "K"), "2");
}

TEST_F(ProfileStoreTest, LongLinesManySectionsAndGarbageAreReadAndWritten) {
    const std::string longValue(100000, 'x');
    std::string file = "[S]\r\nLONG=" + longValue + "\r\n" + std::string(100000, '[') + "\r\n";
    for (int i = 0; i < 10000; ++i) {
        file += "[TYPE" + std::to_string(i) + ".1]\nMEASTIMEOUT=" + std::to_string(i) + "\n";
    }
    file.pop_back();  // no newline at the end
    dir.Write("TEST.INI", file);
    EXPECT_EQ(profile::GetString(path, "S", "LONG", "", 256), std::string(255, 'x'));
    EXPECT_EQ(profile::GetString(path, "S", "LONG", "", 200000), longValue);
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

    std::mt19937 random(12345);
    for (int round = 0; round < 20; ++round) {
        std::string garbage(64 * 1024, '\0');
        for (char& c : garbage) {
            // Mostly structure characters, so that headers, keys and quotes appear in numbers.
            static constexpr char kAlphabet[] = "[]=;\"' \t\r\n\x1a\0abcAB01\xEF\xBB\xBF\xFF";
            c = (random() % 4 == 0) ? static_cast<char>(random())
                                    : kAlphabet[random() % (sizeof kAlphabet - 1)];
        }
        dir.Write("TEST.INI", garbage);
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
        EXPECT_EQ(Get("gages", "gage_1"), "written");
        ASSERT_TRUE(profile::DeleteSection(path, "a"));
    }
    EXPECT_EQ(profile::GetString(dir.File(""), "S", "K", "none"), "none");  // a directory
    EXPECT_EQ(profile::GetInt("", "S", "K", 3), 3);
}

}  // namespace
}  // namespace gage
