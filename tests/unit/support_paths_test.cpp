#include <gtest/gtest.h>

#include <array>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <fstream>
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

TEST_F(SupportPathsTest, EnvironmentDirectoriesAreCreatedAndEndInASeparator) {
    const auto shared = directory.path() / "shared" / "deeper";
    const auto local = directory.path() / "local";
    const test::ScopedEnvironment sharedVariable(builtin::kSharedDirectoryVariable,
                                                 shared.string());
    const test::ScopedEnvironment localVariable(builtin::kLocalDirectoryVariable,
                                                (local / "").string());
    const std::string sharedPath = Path("SHARED");
    const std::string localPath = Path("local");  // the name is not case-sensitive
    EXPECT_EQ(sharedPath, shared.string() + builtin::PathSeparator());
    EXPECT_EQ(localPath, (local / "").string());
    EXPECT_TRUE(builtin::IsPathSeparator(sharedPath.back()));
    EXPECT_TRUE(std::filesystem::is_directory(shared));
    EXPECT_TRUE(std::filesystem::is_directory(local));
}

TEST_F(SupportPathsTest, DefaultDirectoriesEndInASeparator) {
    const test::ScopedEnvironment sharedVariable(builtin::kSharedDirectoryVariable, std::nullopt);
    const test::ScopedEnvironment localVariable(builtin::kLocalDirectoryVariable, std::nullopt);
    for (const char* location : {"SHARED", "LOCAL"}) {
        const std::string path = Path(location);
        ASSERT_FALSE(path.empty()) << location;
        EXPECT_TRUE(builtin::IsPathSeparator(path.back())) << path;
        std::string lower = path;
        for (char& c : lower) {
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
        EXPECT_NE(lower.find("gageserver"), std::string::npos) << path;
    }
}

TEST_F(SupportPathsTest, AnotherLocationNameGivesNothing) {
    EXPECT_EQ(Path("TEMP"), "");
    EXPECT_EQ(Path(""), "");
    EXPECT_EQ(Path(nullptr), "");
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

TEST_F(SupportPathsTest, AnUncreatableDirectoryIsStillReported) {
    // A file stands where the directory should be: it cannot be created, but the answer is the
    // asked-for directory, and nothing fails.
    const auto blocker = directory.path() / "file";
    { std::ofstream(blocker) << "x"; }
    const test::ScopedEnvironment localVariable(builtin::kLocalDirectoryVariable,
                                                (blocker / "sub").string());
    EXPECT_EQ(Path("LOCAL"), (blocker / "sub" / "").string());
}

TEST(SupportIdentityTest, FillsLoginAndStationNamesWithinTheirBuffers) {
    Support support;
    support.UseBuiltInsOnly(true);
    std::array<char, 64> first{};
    std::array<char, 64> second{};
    support.UtilGetIdentity(first.data(), second.data());
    EXPECT_LT(std::strlen(first.data()), 64u);
    EXPECT_GT(std::strlen(second.data()), 0u) << "station name";
    EXPECT_EQ(std::string(second.data()), builtin::StationName().substr(0, 63));
    EXPECT_EQ(std::string(first.data()), builtin::LoginName().substr(0, 63));
    support.UtilGetIdentity(nullptr, nullptr);
    EXPECT_EQ(support.UtilStartup(), 0);
}

}  // namespace
}  // namespace gage
