#include "ui/forms/serial_monitor_form.h"

#include <span>

#include "reading/command_sender.h"

namespace gage {

int WatchPreparedConnection(ChannelContext& channels, WindowHandle owner, ConnectionRecord& record,
                            const std::function<int()>& watch) {
    const bool wasOpen = ConnectionIsOpen(record);
    if (ChannelPrepare(channels, owner, record) != 1) {
        if (!wasOpen) {
            ChannelClose(channels, record);  // nothing half-open is left behind
        }
        return 0;
    }
    const int result = watch();
    if (!wasOpen) {
        ChannelClose(channels, record);
    }
    return result;
}

int PollMonitorConnection(ChannelContext& channels, WindowHandle owner, ConnectionRecord& record,
                          MonitorTickText& shown) {
    const int read = ChannelRead(channels, owner, record);
    if (read < 0) {
        ChannelClose(channels, record);
        ChannelPrepare(channels, owner, record);
        return 0;
    }
    if (read == 0 || !record.HasReceiveBuffer() || record.RxCount <= 0) {
        return 0;
    }
    const auto count = static_cast<std::size_t>(record.RxCount);
    shown = RenderMonitorTick(std::span<const std::uint8_t>(record.RxBuffer.get(), count));
    record.RxCount = 0;
    return static_cast<int>(count);
}

std::string AppendToken(std::string_view line, std::string_view token) {
    std::string text(line.substr(0, kSendLineRoom));
    text += token;
    return text;
}

GageRecord StandInGage() {
    GageRecord gage;
    gage.Gain = 0.0;
    gage.Precision = 0;
    return gage;
}

int SendMonitorLine(ReadContext& engine, WindowHandle owner, ConnectionRecord& record,
                    std::string_view line, bool withLineEnd) {
    std::string text(line.substr(0, kSendLineRoom));
    if (withLineEnd) {
        text += kLineEndTokens;
    }
    const GageRecord standIn = StandInGage();
    return SendGageCommand(engine, owner, &standIn, record, text);
}

}  // namespace gage
