// The table of private-profile cases against the system's own functions and against
// gage::profile, in the same process: both must give Windows' answers on every case. Where Wine
// departs from Windows' documented behaviour the case names the difference and only our module is
// held to it.

#include <windows.h>

#include <gtest/gtest.h>

#include "unit/profile_conformance_cases.h"

namespace gage::profile_cases {
namespace {

ProfileApi SystemProfileApi() {
    return {[](const std::string& path, const char* section, const char* key, const char* dflt,
               char* buffer, std::size_t size) {
                return static_cast<std::size_t>(GetPrivateProfileStringA(
                    section, key, dflt, buffer, static_cast<DWORD>(size), path.c_str()));
            },
            [](const std::string& path, const char* section, const char* key, int dflt) {
                return static_cast<int>(GetPrivateProfileIntA(section, key, dflt, path.c_str()));
            },
            [](const std::string& path, const char* section, const char* key, const char* value) {
                return WritePrivateProfileStringA(section, key, value, path.c_str()) != 0;
            }};
}

TEST(ProfileConformanceWin32, SystemFunctionsAndOurModuleGiveTheSameAnswers) {
    const TemporaryDirectory directory;
    int index = 0;
    for (const ProfileCase& testCase : Cases()) {
        // Fresh names: the system keeps its own cache of profile files by name.
        const std::string stem = "case" + std::to_string(index++);
        RunCase(testCase, OurProfileApi(), directory, stem);
        // Windows' documented behaviour decides the cases where Wine differs.
        if (testCase.wineDiffers == nullptr) {
            RunCase(testCase, SystemProfileApi(), directory, stem + "-system.ini");
        } else {
            std::printf("note: not held against the system: %s (%s)\n", testCase.name,
                        testCase.wineDiffers);
        }
    }
}

}  // namespace
}  // namespace gage::profile_cases
