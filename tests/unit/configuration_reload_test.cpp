// Command 3's rebuild: the tables are emptied and BRW_GAGE.CFG is loaded again.

#include <gtest/gtest.h>

#include <string>

#include "entry/configuration_reload.h"
#include "helpers/random_gage_configuration.h"
#include "unit/profile_test_support.h"

namespace gage {
namespace {

using profile_cases::TemporaryDirectory;
using profile_cases::WriteFileBytes;

using test::ConfigurationWithGages;

TEST(ConfigurationReload, TheTablesFollowTheFile) {
    const TemporaryDirectory directory;
    Runtime runtime;
    runtime.settings.ConfigurationPath = directory.File("BRW_GAGE.CFG");
    runtime.settings.DefinitionsPath = directory.File("BRW_GAGE.DEF");

    WriteFileBytes(runtime.settings.ConfigurationPath, ConfigurationWithGages(2));
    EXPECT_EQ(LoadRuntimeConfiguration(runtime, nullptr), 1);
    ASSERT_EQ(runtime.gages.size(), 2u);

    WriteFileBytes(runtime.settings.ConfigurationPath, ConfigurationWithGages(3));
    ReloadConfiguration(runtime, nullptr);
    ASSERT_EQ(runtime.gages.size(), 3u);
    EXPECT_EQ(runtime.gages[2].Name, "RandomValue 3");

    // A file that is no longer acceptable leaves the tables empty, not as they were.
    WriteFileBytes(runtime.settings.ConfigurationPath, "[APPLICATION]\r\nNAME=OTHER\r\n");
    ReloadConfiguration(runtime, nullptr);
    EXPECT_TRUE(runtime.gages.empty());
}

}  // namespace
}  // namespace gage
