#include <gtest/gtest.h>

#include <chrono>

#include "config/connection_record.h"
#include "reading/engine_clock.h"
#include "reading_socket_pair_posix.h"

namespace gage {
namespace {

// The engine's read loop relies on the system clock's wait to block on the socket: a wait
// that returned at once would make every read loop spin.
TEST(SystemEngineClockTest, WaitsOnAnIdleSocketUntilTheTimeIsUpAndWakesOnData) {
    ConnectionRecord record;
    const testing_support::SocketPairLine line(record);
    ASSERT_TRUE(line.ok());
    EngineClock& clock = SystemEngineClock();

    const auto before = std::chrono::steady_clock::now();
    EXPECT_FALSE(clock.WaitReadable(record, 60));
    EXPECT_GE(std::chrono::steady_clock::now() - before, std::chrono::milliseconds(55));

    line.Send("1.5\r");
    EXPECT_TRUE(clock.WaitReadable(record, 60000));
}

}  // namespace
}  // namespace gage
