#include "gagesrv/learn_capture.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "channels/channel.h"
#include "channels/serial_channel.h"
#include "entry/engine_commands.h"
#include "gagesrv/stop_requests.h"
#include "reading/command_sender.h"
#include "ui/forms/serial_monitor_form.h"

namespace gage::gagesrv {

namespace {

using Clock = std::chrono::steady_clock;

constexpr auto kPollPeriod = std::chrono::milliseconds(20);
constexpr auto kSendPeriod = std::chrono::milliseconds(250);
constexpr double kSearchSeconds = 1.5;  // per line setting tried
constexpr int kCleanConfidence = 80;

std::string Collect(Runtime& runtime, ConnectionRecord& record, const CaptureRequest& request,
                    double seconds, const StopRequests& stop) {
    const GageRecord standIn = StandInGage();
    std::string traffic;
    const Clock::time_point start = Clock::now();
    const auto until =
        start + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(seconds));
    Clock::time_point nextSend = start;
    while (Clock::now() < until && !stop.Requested()) {
        if (!request.sends.empty() && Clock::now() >= nextSend) {
            for (const std::string& text : request.sends) {
                ReadContext engine = EngineContext(runtime);
                SendGageCommand(engine, nullptr, &standIn, record, text);
            }
            nextSend += kSendPeriod;
        }
        while (ChannelRead(runtime.channels, nullptr, record) > 0) {
        }
        if (record.HasReceiveBuffer() && record.RxCount > 0) {
            traffic.append(reinterpret_cast<const char*>(record.RxBuffer.get()),
                           static_cast<std::size_t>(record.RxCount));
            EmptyReceiveBuffer(record);
        }
        std::this_thread::sleep_for(kPollPeriod);
    }
    return traffic;
}

std::string JoinedSends(const CaptureRequest& request) {
    std::string joined;
    for (const std::string& text : request.sends) {
        joined += text;
    }
    return joined;
}

learn::LineSetting CurrentSetting(const ConnectionRecord& record) {
    return {record.BaudRate, record.DataBits, record.Parity, record.StopBits};
}

void Apply(ConnectionRecord& record, const learn::LineSetting& setting) {
    record.BaudRate = setting.baudRate;
    record.DataBits = setting.dataBits;
    record.Parity = setting.parity;
    record.StopBits = setting.stopBits;
}

bool Clean(const learn::LearnOutcome& outcome) {
    return outcome.refusal == learn::Refusal::None &&
           outcome.check.explained == outcome.check.records &&
           outcome.check.confidence >= kCleanConfidence;
}

}  // namespace

LearnedTraffic CaptureAndLearn(Runtime& runtime, ConnectionRecord& record,
                               const CaptureRequest& request, std::ostream& err) {
    const StopRequests stop;
    LearnedTraffic learned;
    ReadContext engine = EngineContext(runtime);
    const std::string command = JoinedSends(request);
    const std::string traffic = Collect(runtime, record, request, request.seconds, stop);
    learned.outcome = learn::LearnFormat(traffic, command, engine);
    // Silence is no sign of wrong settings; garbage, with or without line ends, is.
    if (record.IsTcp() || Clean(learned.outcome) || traffic.empty()) {
        return learned;
    }
    const learn::LineSetting configured = CurrentSetting(record);
    learned.searched = true;
    err << "The traffic at " << learn::LineSettingText(configured)
        << " makes no clean records; trying other line settings.\n";
    for (const learn::LineSetting& setting : learn::OtherLineSettings(configured)) {
        if (stop.Requested()) {
            break;
        }
        Apply(record, setting);
        if (SerialConfigure(runtime.channels, nullptr, record) != 0) {
            continue;
        }
        SerialPurge(runtime.channels, nullptr, record, 1);
        EmptyReceiveBuffer(record);
        learn::LearnOutcome outcome = learn::LearnFormat(
            Collect(runtime, record, request, std::min(request.seconds, kSearchSeconds), stop),
            command, engine);
        err << "  " << learn::LineSettingText(setting) << ": "
            << (Clean(outcome) ? "clean records" : "no clean records") << "\n";
        if (Clean(outcome)) {
            learned.outcome = std::move(outcome);
            learned.lineFound = setting;
            return learned;
        }
    }
    Apply(record, configured);
    SerialConfigure(runtime.channels, nullptr, record);
    return learned;
}

}  // namespace gage::gagesrv
