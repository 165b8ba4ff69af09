// The table of private-profile cases against the system's own functions and against
// gage::profile, in the same process: both must give Windows' answers on every case. Where Wine
// departs from Windows' documented behaviour the case names the difference and only our module is
// held to it.

#include <windows.h>

#include <gtest/gtest.h>

#include "unit/profile_conformance_cases.h"
#include "unit/profile_test_support.h"

namespace gage::profile_cases {
namespace {

ProfileApi SystemProfileApi() {
    ProfileApi api;
    api.getString = [](const std::string& path, const char* section, const char* key,
                       const char* defaultValue, char* buffer, std::size_t bufferSize) {
        return static_cast<std::size_t>(GetPrivateProfileStringA(
            section, key, defaultValue, buffer, static_cast<DWORD>(bufferSize), path.c_str()));
    };
    api.getInt = [](const std::string& path, const char* section, const char* key,
                    int defaultValue) {
        return static_cast<int>(GetPrivateProfileIntA(section, key, defaultValue, path.c_str()));
    };
    api.writeString = [](const std::string& path, const char* section, const char* key,
                         const char* value) {
        return WritePrivateProfileStringA(section, key, value, path.c_str()) != 0;
    };
    api.deleteKey = [](const std::string& path, const char* section, const char* key) {
        return WritePrivateProfileStringA(section, key, nullptr, path.c_str()) != 0;
    };
    api.deleteSection = [](const std::string& path, const char* section) {
        return WritePrivateProfileStringA(section, nullptr, nullptr, path.c_str()) != 0;
    };
    return api;
}

TEST(ProfileConformanceWin32, SystemFunctionsAndOurModuleGiveTheSameAnswers) {
    const TemporaryDirectory directory;
    const ProfileApi system = SystemProfileApi();
    const ProfileApi ours = OurProfileApi();
    int index = 0;
    int systemChecked = 0;
    for (const ProfileCase& testCase : Cases()) {
        // Fresh names: the system keeps its own cache of profile files by name.
        const std::string stem = directory.File("case" + std::to_string(index++));
        for (const std::string& failure : RunCase(testCase, ours, stem + "-ours.ini")) {
            ADD_FAILURE() << "gage::profile, " << testCase.name << ": " << failure;
        }
        const std::vector<std::string> systemFailures =
            RunCase(testCase, system, stem + "-system.ini");
        if (testCase.wineDiffers != nullptr) {
            // Reported, not failed: Windows' documented behaviour decides these cases.
            for (const std::string& failure : systemFailures) {
                std::printf("note: system differs on \"%s\" (%s): %s\n", testCase.name,
                            testCase.wineDiffers, failure.c_str());
            }
            continue;
        }
        ++systemChecked;
        for (const std::string& failure : systemFailures) {
            ADD_FAILURE() << "system, " << testCase.name << ": " << failure;
        }
    }
    EXPECT_GE(systemChecked, 30);
}

}  // namespace
}  // namespace gage::profile_cases
