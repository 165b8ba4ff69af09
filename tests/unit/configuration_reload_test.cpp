// Command 3's rebuild: the tables are emptied and BRW_GAGE.CFG is loaded again.

#include <gtest/gtest.h>

#include <string>

#include "entry/configuration_reload.h"
#include "helpers/random_gage_configuration.h"
#include "unit/config_test_files.h"

namespace gage {
namespace {

TEST(ConfigurationReload, TheTablesFollowTheFile) {
    const test::ConfigTestDirectory dir;
    Runtime runtime;
    runtime.settings.ConfigurationPath = dir.File("BRW_GAGE.CFG");
    runtime.settings.DefinitionsPath = dir.File("BRW_GAGE.DEF");
    dir.Write("BRW_GAGE.CFG", test::ConfigurationWithGages(3));
    ReloadConfiguration(runtime, nullptr);
    ASSERT_EQ(runtime.gages.size(), 3u);
    EXPECT_EQ(runtime.gages[2].Name, "RandomValue 3");

    // A file that is no longer acceptable leaves the tables empty, not as they were.
    dir.Write("BRW_GAGE.CFG", "[APPLICATION]\r\nNAME=OTHER\r\n");
    ReloadConfiguration(runtime, nullptr);
    EXPECT_TRUE(runtime.gages.empty());
}

}  // namespace
}  // namespace gage
