// The table of private-profile cases against gage::profile (the Windows tests run the same table
// against the system's functions too).

#include <gtest/gtest.h>

#include "unit/profile_conformance_cases.h"
#include "unit/profile_test_support.h"

namespace gage::profile_cases {
namespace {

TEST(ProfileConformance, EveryCaseBehavesAsWindowsDoes) {
    const TemporaryDirectory directory;
    const ProfileApi api = OurProfileApi();
    int index = 0;
    for (const ProfileCase& testCase : Cases()) {
        const std::string path = directory.File("case" + std::to_string(index++) + ".ini");
        for (const std::string& failure : RunCase(testCase, api, path)) {
            ADD_FAILURE() << testCase.name << ": " << failure;
        }
    }
    EXPECT_GE(index, 30);
}

// Each case again on a file the cache has already seen with other content, so that a stale
// cache entry would show.
TEST(ProfileConformance, CasesOnOneReusedFileSeeEachNewContent) {
    const TemporaryDirectory directory;
    const ProfileApi api = OurProfileApi();
    const std::string path = directory.File("reused.ini");
    for (const ProfileCase& testCase : Cases()) {
        for (const std::string& failure : RunCase(testCase, api, path)) {
            ADD_FAILURE() << testCase.name << ": " << failure;
        }
    }
}

}  // namespace
}  // namespace gage::profile_cases
