#pragma once
// Shared pieces of the channel tests: a runtime-free channel context whose message boxes and log
// lines the test can see, and a bounded wait for bytes to arrive.

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <string_view>
#include <vector>

#include "channels/channel.h"
#include "channels/channel_wait.h"
#include "channels/serial_channel.h"
#include "helpers/message_box_recorder.h"
#include "helpers/temporary_directory.h"
#include "helpers/text_lines.h"

namespace gage::test {

struct ChannelHarness {
    ChannelHarness() {
        support.UseBuiltInsOnly(true);
        settings.LogPath = logDirectory.File("ZRNGSV32.LOG");
    }

    std::vector<std::string> LogTexts() const { return test::LogTexts(settings.LogPath); }
    // Opens and configures a serial record and gives it a receive buffer.
    void OpenSerial(ConnectionRecord& record) {
        ASSERT_EQ(SerialOpen(context, nullptr, record), 1);
        ASSERT_EQ(SerialConfigure(context, nullptr, record), 0);
        ASSERT_EQ(AllocateReceiveBuffer(record), 1);
    }
    // The channel's answer to writing bytes to the record's line.
    int Write(ConnectionRecord& record, std::string_view bytes) {
        return ChannelWrite(context, nullptr, record,
                            reinterpret_cast<const std::uint8_t*>(bytes.data()),
                            static_cast<int>(bytes.size()));
    }

    TemporaryDirectory logDirectory;
    Support support;
    ServerSettings settings;
    ChannelContext context{support, settings};
    MessageBoxRecorder boxes{support, MB_RESULT_IGNORE};
};

inline std::string Held(const ConnectionRecord& record) {
    return {reinterpret_cast<const char*>(record.RxBuffer.get()),
            static_cast<std::size_t>(record.RxCount)};
}

// Reads until at least want bytes are held or 5 s pass, waiting on the line in between.
inline bool ReadUntilHeld(ChannelContext& context, ConnectionRecord& record, int want) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (ChannelRead(context, nullptr, record) >= 0 && record.RxCount < want) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        ChannelWaitReadable(record, 100);
    }
    return record.RxCount >= want;
}

}  // namespace gage::test
