#pragma once
// Shared pieces of the channel integration tests: a runtime-free channel context whose message
// boxes and log lines the test can see, and bounded waits for bytes to arrive.

#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "channels/channel.h"
#include "helpers/log_texts.h"
#include "helpers/temporary_directory.h"

namespace gage::testing_support {

// A private directory with a short name: a serial prefix ("<dir>/com") must fit the 15
// characters of COM_PREFIX.
class TempDirectory : public test::TemporaryDirectory {
  public:
    TempDirectory() : test::TemporaryDirectory("/tmp", "") {}
};

struct ChannelHarness {
    ChannelHarness() {
        support.UseBuiltInsOnly(true);
        support.SetMessageBoxHook([this](const MessageBoxRequest& request) {
            boxes.push_back(request);
            if (answers.empty()) {
                return MB_RESULT_IGNORE;
            }
            const int answer = answers.front();
            answers.erase(answers.begin());
            return answer;
        });
        settings.LogPath = directory.str() + "/ZRNGSV32.LOG";
    }

    std::vector<std::string> LogTexts() const { return test::LogTexts(settings.LogPath); }

    TempDirectory directory;
    Support support;
    ServerSettings settings;
    ChannelContext context{support, settings};
    std::vector<MessageBoxRequest> boxes;
    std::vector<int> answers;
};

inline std::string Held(const ConnectionRecord& record) {
    return {reinterpret_cast<const char*>(record.RxBuffer.get()),
            static_cast<std::size_t>(record.RxCount)};
}

// Reads until at least want bytes are held or the time is up; waits on the handle in between.
inline bool ReadUntilHeld(ChannelContext& context, ConnectionRecord& record, int want,
                          std::chrono::milliseconds timeout = std::chrono::seconds(5)) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (record.RxCount < want) {
        if (ChannelRead(context, nullptr, record) < 0) {
            return false;
        }
        if (record.RxCount >= want) {
            break;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            return false;
        }
        pollfd waiting{
            static_cast<int>(record.IsTcp() ? record.Socket.get() : record.PortHandle.get()),
            POLLIN, 0};
        ::poll(&waiting, 1, static_cast<int>(left.count()));
    }
    return true;
}

}  // namespace gage::testing_support
