// Without the Windows dialogs, the commands that would open one answer 0 and change nothing.

#include <gtest/gtest.h>

#include "loaded_library_fixture.h"

namespace gage::harness {
namespace {

using DialogCommandsTest = LoadedLibraryTest;

TEST_F(DialogCommandsTest, DialogCommandsAnswerZeroWithoutDialogs) {
    ASSERT_TRUE(Load());
    for (const std::int32_t command : {3, 6, 7, 15}) {
        EXPECT_EQ(Call(command), 0) << "command " << command;
    }
    EXPECT_EQ(Call(18), 0);  // no configuration dialog was left open
    EXPECT_EQ(Call(0), 1);
}

}  // namespace
}  // namespace gage::harness
