// The read cycle against the gage simulator with the system clock, on a pseudo-terminal: the
// clear-after drain waits for quiet, but not for ever. (That the system clock's wait blocks on a
// TCP/IP line too, the TCP/IP channel test sees.)

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "channels/channel.h"
#include "helpers/message_box_recorder.h"
#include "helpers/serial_record.h"
#include "helpers/temporary_directory.h"
#include "reading/read_cycle.h"
#include "simulator.h"
#include "unit/reading_test_support.h"

namespace gage {
namespace {

using namespace std::chrono_literals;
using testing_support::Spec;

class DeviceTest : public ::testing::Test {
  protected:
    test::TemporaryDirectory directory{"/tmp", ""};  // "<dir>/com" fits the prefix
    testing_support::EngineFixture engine;
    test::MessageBoxRecorder boxes{engine.support, MB_RESULT_OK};
    ReadContext context{engine.channels, engine.connections, engine.settings, engine.support,
                        SystemEngineClock()};
    std::unique_ptr<gagesim::Simulator> simulator;
    GageRecord gage;
    ReadingResult result{};
    ParseOutput output{result};
    ConnectionRecord& record = engine.connections[0];
    std::chrono::steady_clock::duration took{};  // by the last Read

    void SetUp() override {
        engine.support.UseBuiltInsOnly(true);
        engine.settings.ComPrefix = directory.File("com");
        simulator = std::make_unique<gagesim::Simulator>(gagesim::SimulatorOptions{
            .linkPath = directory.File("com3"), .values = {}, .trigger = ""});
        std::string error;
        ASSERT_TRUE(simulator->Start(error)) << error;
        test::MakeSerial9600(record, 3);
        record.BaudRate = 115200;
        ASSERT_EQ(ChannelPrepare(engine.channels, nullptr, record), 1);  // opens and configures
        gage = testing_support::OneValueGage("Device");
        testing_support::SetFrame(gage.Format, "<2>", "<13><10>", ",");
        gage.Format.LiteralField = Spec(1, 1, 0, "EQ(\"OK\")");
        gage.Format.ValueAField = Spec(2, 1, 0);
        gage.Format.Options = FMT_OPT_CLEAR_AFTER;
    }
    int Read(std::uint16_t timeout) {
        gage.Format.ReadTimeout = timeout;
        const auto start = std::chrono::steady_clock::now();
        const int valid = ReadGage(context, nullptr, gage, output, 0);
        took = std::chrono::steady_clock::now() - start;
        return valid;
    }
};

// Trailing records are drained until one quiet time after the last; a gage that never falls
// silent is drained only up to a bound.
TEST_F(DeviceTest, ClearAfterDrainsUntilQuietButNotForEver) {
    std::thread trailing([&] {
        simulator->Send("\x02OK,1.5\r\n");
        for (int i = 0; i < 3; ++i) {
            std::this_thread::sleep_for(20ms);
            simulator->Send("\x02OK,9.5\r\n");
        }
    });
    int valid = Read(150);
    trailing.join();
    ASSERT_EQ(valid, 1);
    EXPECT_EQ(ValueOf(result), 1.5);
    EXPECT_GE(took, 60ms + 150ms - 5ms);
    EXPECT_LT(took, 60ms + 150ms + 300ms);
    EXPECT_EQ(record.RxCount, 0);
    EXPECT_EQ(Read(50), 0);  // nothing of the trailing records is left

    std::atomic<bool> stop{false};
    std::thread endless([&] {
        while (!stop) {
            simulator->Send("\x02OK,2.5\r\n");
            std::this_thread::sleep_for(2ms);
        }
    });
    valid = Read(150);  // ten quiet times are still less than the least bound
    stop = true;
    endless.join();
    EXPECT_EQ(valid, 1);
    EXPECT_EQ(ValueOf(result), 2.5);
    // The engine counts whole milliseconds of its tick, so the bound may end up to one
    // millisecond early by a finer clock.
    EXPECT_GE(took, std::chrono::milliseconds(kMinimumDrainBoundMs - 1));
    EXPECT_LT(took, std::chrono::milliseconds(kMinimumDrainBoundMs + 1000));
}

}  // namespace
}  // namespace gage
