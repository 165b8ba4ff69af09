#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <string>

#include "helpers/scoped_environment.h"
#include "helpers/temporary_directory.h"
#include "support/builtin_paths.h"
#include "support/support.h"

namespace gage {
namespace {

class SupportPathsTest : public ::testing::Test {
  protected:
    SupportPathsTest() { support.UseBuiltInsOnly(true); }

    std::string Path(const char* location, int size = 256) {
        std::array<char, 512> buffer{};
        buffer.fill('x');
        support.UtilGetPath(0, location, buffer.data(), size);
        return std::string(buffer.data());
    }

    test::TemporaryDirectory directory;
    Support support;
};

// The location name is not case-sensitive; the directories are made and end in a separator, and
// one that cannot be made (a file in its place) is still the answer.
TEST_F(SupportPathsTest, EnvironmentDirectoriesAreCreatedAndEndInASeparator) {
    const auto shared = directory.path() / "shared" / "deeper";
    const test::ScopedEnvironment sharedVariable(builtin::kSharedDirectoryVariable,
                                                 shared.string());
    const test::ScopedEnvironment localVariable(builtin::kLocalDirectoryVariable,
                                                (directory.path() / "local" / "").string());
    EXPECT_EQ(Path("SHARED"), shared.string() + builtin::PathSeparator());
    EXPECT_EQ(Path("local"), (directory.path() / "local" / "").string());
    EXPECT_TRUE(std::filesystem::is_directory(shared));
    EXPECT_TRUE(std::filesystem::is_directory(directory.path() / "local"));
    directory.Write("file", "x");
    const test::ScopedEnvironment blocked(builtin::kLocalDirectoryVariable,
                                          (directory.path() / "file" / "sub").string());
    EXPECT_EQ(Path("LOCAL"), (directory.path() / "file" / "sub" / "").string());
}

TEST_F(SupportPathsTest, DefaultDirectoriesEndInASeparatorAndOtherNamesGiveNothing) {
    const test::ScopedEnvironment sharedVariable(builtin::kSharedDirectoryVariable, std::nullopt);
    const test::ScopedEnvironment localVariable(builtin::kLocalDirectoryVariable, std::nullopt);
    for (const char* location : {"SHARED", "LOCAL"}) {
        std::string path = Path(location);
        ASSERT_FALSE(path.empty()) << location;
        EXPECT_TRUE(builtin::IsPathSeparator(path.back())) << path;
        std::transform(path.begin(), path.end(), path.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        EXPECT_NE(path.find("gageserver"), std::string::npos) << path;
    }
    for (const char* other : {"TEMP", "", static_cast<const char*>(nullptr)}) {
        EXPECT_EQ(Path(other), "");
    }
}

TEST_F(SupportPathsTest, ALongPathIsCutToTheBuffer) {
    const test::ScopedEnvironment localVariable(builtin::kLocalDirectoryVariable, directory.str());
    const std::string whole = Path("LOCAL");
    ASSERT_GT(whole.size(), 8u);
    EXPECT_EQ(Path("LOCAL", 9), whole.substr(0, 8));
    EXPECT_EQ(Path("LOCAL", 1), "");
    support.UtilGetPath(0, "LOCAL", nullptr, 256);  // no buffer: nothing happens
    std::array<char, 4> untouched{'a', 'b', 'c', '\0'};
    support.UtilGetPath(0, "LOCAL", untouched.data(), 0);
    EXPECT_STREQ(untouched.data(), "abc");
}

TEST(SupportIdentityTest, FillsLoginAndStationNamesWithinTheirBuffers) {
    Support support;
    support.UseBuiltInsOnly(true);
    std::array<char, 64> first{};
    std::array<char, 64> second{};
    support.UtilGetIdentity(first.data(), second.data());
    EXPECT_GT(std::strlen(second.data()), 0u) << "station name";
    EXPECT_EQ(std::string(second.data()), builtin::StationName().substr(0, 63));
    EXPECT_EQ(std::string(first.data()), builtin::LoginName().substr(0, 63));
    support.UtilGetIdentity(nullptr, nullptr);
    EXPECT_EQ(support.UtilStartup(), 0);
}

}  // namespace
}  // namespace gage
