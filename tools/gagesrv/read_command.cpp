#include "gagesrv/read_command.h"

#include <chrono>
#include <cstring>
#include <iostream>
#include <thread>
#include <vector>

#include "gagesrv/gage_names.h"
#include "gagesrv/gage_server.h"
#include "gagesrv/stop_requests.h"
#include "gagesrv/text/reading_output.h"
#include "gagesrv/wait_indicator.h"

namespace gage::gagesrv {

namespace {

constexpr std::int32_t kReadCommand = 8;
constexpr std::int32_t kPollCommand = 14;
constexpr std::int32_t kChannelOnlyFlag = 0x10000;

struct ReadRequest {
    std::vector<std::string> names;
    long long count = 1;  // rounds; 0 = until interrupted
    int intervalMs = 0;
    bool poll = false;
    bool channelOnly = false;
    bool json = false;
};

// Waits until the next round is due, waking early for a stop request.
void WaitForRound(std::chrono::steady_clock::time_point due, const StopRequests& stop) {
    while (!stop.Requested()) {
        const auto now = std::chrono::steady_clock::now();
        if (now >= due) {
            return;
        }
        std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(
            due - now, std::chrono::milliseconds(50)));
    }
}

int RunRead(const HostContext& context, const ReadRequest& request) {
    const std::unique_ptr<GageServer> server = StartGageServer(context, std::cerr);
    if (!server) {
        return 1;
    }
    for (const std::string& name : request.names) {
        if (!CheckGageName(*server, name, std::cerr)) {
            return 1;
        }
    }
    const StopRequests stop;
    const std::int32_t command =
        (request.poll ? kPollCommand : kReadCommand) | (request.channelOnly ? kChannelOnlyFlag : 0);
    const auto interval = std::chrono::milliseconds(request.intervalMs);
    auto due = std::chrono::steady_clock::now();
    long long failures = 0;
    for (long long round = 1; request.count == 0 || round <= request.count; ++round) {
        if (round > 1) {
            due += interval;
            WaitForRound(due, stop);
        }
        if (stop.Requested()) {
            break;
        }
        for (const std::string& name : request.names) {
            std::intptr_t answer = 0;
            {
                const WaitIndicator waiting("waiting for " + name);
                answer = server->Call(command, name.c_str());
            }
            // The block is the server's and is overwritten by the next read: copy it now.
            ReadingResult result{};
            if (answer != 0) {
                std::memcpy(&result, reinterpret_cast<const void*>(answer), sizeof result);
            } else {
                ++failures;
            }
            const PrintedReading printed{name, round, answer != 0 ? &result : nullptr};
            if (request.json) {
                std::cout << ReadingJson(printed) << '\n';
            } else if (answer != 0) {
                std::cout << ReadingText(printed) << '\n';
            } else {
                std::cout.flush();
                std::cerr << name
                          << ": no reading (the gage did not answer within its format's time-out, "
                             "its connection is not open, or its record failed the format's "
                             "checks; the log file ZRNGSV32.LOG in the local directory may say "
                             "more).\n";
            }
            std::cout.flush();
        }
    }
    if (stop.Requested()) {
        std::cerr << "Interrupted.\n";
        return 1;
    }
    return failures == 0 ? 0 : 1;
}

}  // namespace

void AddReadCommand(CLI::App& app, HostContext& context) {
    auto request = std::make_shared<ReadRequest>();
    CLI::App* read = app.add_subcommand(
        "read",
        "Read gages through the gage server and print each reading (reading number, "
        "channel, value, code and literal)");
    read->add_option("names", request->names, "The gages to read, each in turn")
        ->required()
        ->expected(1, -1);
    read->add_option("--count", request->count,
                     "Read this many rounds (one reading of each gage a round); 0 reads until "
                     "interrupted")
        ->check(CLI::NonNegativeNumber);
    read->add_option("--interval", request->intervalMs,
                     "Start a round every MS milliseconds (default 0: one after the other)")
        ->check(CLI::Range(0, 3600000));
    read->add_flag("--poll", request->poll, "Read as a polling host does (command 14)");
    read->add_flag("--channel-only", request->channelOnly,
                   "Leave records of other multiplexer channels in the buffer");
    read->add_flag("--json", request->json,
                   "One JSON object per reading and line, failed reads included (\"ok\":false)");
    read->footer("Exit status 0 when every read gave a reading, 1 otherwise.\n");
    read->callback([&context, request] { context.exitStatus = RunRead(context, *request); });
}

}  // namespace gage::gagesrv
