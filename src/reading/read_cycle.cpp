#include "reading/read_cycle.h"

#include <algorithm>
#include <bit>

#include "channels/channel.h"
#include "reading/command_sender.h"
#include "reading/connection_opening.h"

namespace gage {

namespace {

// Longest single wait on a port or socket; the loop re-checks its deadline after each.
constexpr std::uint32_t kLongestWaitMs = 100;

// Sends a command of the format when it is not empty, followed by the command delay. A
// simulated gage may be read with its port closed; commands to it then go nowhere, rather than
// raising port errors.
void SendFormatCommand(ReadContext& context, WindowHandle owner, const GageRecord& gage,
                       ConnectionRecord& record, const CommandText& command) {
    if (command.empty()) {
        return;
    }
    if (ConnectionIsOpen(record)) {
        SendGageCommand(context, owner, &gage, record, command.view());
    }
    DelayMilliseconds(context, gage.Format.CommandDelay);
}

bool ConnectionUsable(const GageRecord& gage, const ConnectionRecord& record) {
    if (record.IsTcp()) {
        return record.Socket.is_open();
    }
    return record.PortHandle.is_open() || IsSimulatedGage(gage);
}

// Fetches what has arrived: bytes appended, 0 for none, negative when the user chose Abort.
// A closed connection is not read (it would only raise errors); nothing arrives on it.
int Fetch(ReadContext& context, WindowHandle owner, const GageRecord& gage,
          ConnectionRecord& record) {
    if (IsSimulatedGage(gage)) {
        return SimulatedRead(context.channels, gage, context.connections);
    }
    if (!ConnectionIsOpen(record)) {
        return 0;
    }
    return ChannelRead(context.channels, owner, record);
}

// Passes the time after a fetch that brought nothing, without spinning: waits on the port or
// socket, or sleeps a short slice when waiting told nothing (a hung-up or closed connection).
class IdleWait {
  public:
    IdleWait(ReadContext& context, const ConnectionRecord& record)
        : context_(context), record_(record) {}

    void Pause(std::uint32_t remainingMs) {
        if (remainingMs == 0) {
            return;
        }
        if (wokeWithoutData_ || !ConnectionIsOpen(record_)) {
            context_.clock.Sleep(1);
            wokeWithoutData_ = false;
            return;
        }
        wokeWithoutData_ =
            context_.clock.WaitReadable(record_, std::min(remainingMs, kLongestWaitMs));
    }
    // The fetch after a pause brought data: the wait told the truth.
    void DataArrived() { wokeWithoutData_ = false; }

  private:
    ReadContext& context_;
    const ConnectionRecord& record_;
    bool wokeWithoutData_ = false;
};

// A TCP/IP peer that closed its end while the line was idle shows at a fetch (the channel logs
// it and closes the socket); the connection is then opened afresh, with its interface strings,
// before anything is sent. False when it cannot be opened.
bool FreshenTcp(ReadContext& context, WindowHandle owner, const GageRecord& gage,
                ConnectionRecord& record) {
    if (!record.IsTcp()) {
        return true;
    }
    ChannelRead(context.channels, owner, record);
    if (!record.Socket.is_open()) {
        OpenGageConnection(context, owner, gage.ConnectionIndex);
    }
    return record.Socket.is_open();
}

struct AttemptResult {
    int parsed = 0;
    int fetched = 0;
    bool consumed = false;  // the last parse removed bytes: more records may be held
};

int ParseCounting(ReadContext& context, WindowHandle owner, const GageRecord& gage,
                  ConnectionRecord& record, ParseOutput& output, unsigned options, bool& consumed) {
    const int heldBefore = record.RxCount;
    const int parsed = ParseRecord(context, owner, gage, output, options);
    consumed = record.RxCount < heldBefore;
    return parsed;
}

AttemptResult Attempt(ReadContext& context, WindowHandle owner, GageRecord& gage,
                      ConnectionRecord& record, ParseOutput& output, unsigned options) {
    AttemptResult attempt;
    attempt.parsed = ParseCounting(context, owner, gage, record, output, options, attempt.consumed);
    if (attempt.parsed != 0) {
        return attempt;
    }
    attempt.fetched = Fetch(context, owner, gage, record);
    if (attempt.fetched < 0) {
        ChannelClose(context.channels, record);
        return attempt;
    }
    attempt.parsed = ParseCounting(context, owner, gage, record, output, options, attempt.consumed);
    return attempt;
}

// Discards what the gage sends until it has been quiet for quietMs, or the bound has passed.
void Drain(ReadContext& context, WindowHandle owner, ConnectionRecord& record,
           std::uint32_t quietMs) {
    EngineClock& clock = context.clock;
    const std::uint32_t bound = std::max(quietMs * 10u, kMinimumDrainBoundMs);
    const std::uint32_t start = clock.Now();
    std::uint32_t noted = start;
    IdleWait idle(context, record);
    for (;;) {
        const std::uint32_t now = clock.Now();
        const std::uint32_t sinceData = TicksElapsed(noted, now);
        const std::uint32_t sinceStart = TicksElapsed(start, now);
        if (sinceData >= quietMs || sinceStart >= bound) {
            break;
        }
        const int fetched =
            ConnectionIsOpen(record) ? ChannelRead(context.channels, owner, record) : 0;
        if (fetched > 0) {
            ChannelPurge(context.channels, owner, record, PURGE_ALL);
            // Keep the buffer from filling while the gage goes on sending.
            EmptyReceiveBuffer(record);
            noted = clock.Now();
            idle.DataArrived();
            continue;
        }
        idle.Pause(std::min(quietMs - sinceData, bound - sinceStart));
    }
    EmptyReceiveBuffer(record);
}

bool ChannelAccepted(const GageRecord& gage, const ReadingResult& result) {
    return gage.ChannelNumber == result.Channel || gage.ChannelNumber == 0 ||
           !gage.Format.ChannelField.Defined;
}

}  // namespace

int ReadGage(ReadContext& context, WindowHandle owner, GageRecord& gage, ParseOutput& output,
             unsigned options) {
    if (gage.InterfaceTypeNumber == 0) {
        return 0;
    }
    ConnectionRecord* const connection = GageConnection(context, gage.ConnectionIndex);
    if (connection == nullptr || !ConnectionUsable(gage, *connection)) {
        return 0;
    }
    ConnectionRecord& record = *connection;
    const GageFormat& format = gage.Format;
    if (output.copyLength != nullptr) {
        *output.copyLength = 0;
    }
    if (!record.HasReceiveBuffer()) {
        if (!AllocateReceiveBuffer(record, kReceiveBufferSize)) {
            return 0;
        }
        EmptyReceiveBuffer(record);
    }
    if (!FreshenTcp(context, owner, gage, record)) {
        return 0;
    }

    const bool poll = (options & READ_OPT_POLL) != 0;
    if (!(poll && (gage.Flags & GAGE_FLAG_NO_READ_CMD) != 0)) {
        if (gage.MeasurementStarted == 0) {
            SendFormatCommand(context, owner, gage, record, format.MeasInitCommand);
            SendFormatCommand(context, owner, gage, record, format.MeasStartCommand);
            if (!format.MeasStopCommand.empty()) {
                gage.MeasurementStarted = 1;
                return 0;
            }
        } else {
            SendFormatCommand(context, owner, gage, record, format.MeasStopCommand);
            gage.MeasurementStarted = 0;
        }
        if ((format.Options & FMT_OPT_CLEAR_BEFORE) != 0) {
            ChannelPurge(context.channels, owner, record, PURGE_ALL);
            EmptyReceiveBuffer(record);
        }
        if (format.RequestSequenceLength == 0) {
            SendFormatCommand(context, owner, gage, record, format.MeasReadCommand);
        }
    }

    EngineClock& clock = context.clock;
    const std::uint32_t deadline = clock.Now() + format.ReadTimeout;
    const std::uint32_t quietMs =
        format.ReadTimeout > 0 ? format.ReadTimeout : context.settings.WaitTime;
    IdleWait idle(context, record);
    bool valid = false;
    for (;;) {
        const AttemptResult attempt = Attempt(context, owner, gage, record, output, options);
        if (attempt.parsed != 0 && ChannelAccepted(gage, output.result)) {
            valid = true;
            break;
        }
        if (record.IsTcp() && !record.Socket.is_open()) {
            // The peer closed during the read: nothing more can come; be ready for the next.
            OpenGageConnection(context, owner, gage.ConnectionIndex);
            break;
        }
        const std::uint32_t now = clock.Now();
        if (TickReached(now, deadline)) {
            break;
        }
        if (attempt.fetched > 0) {
            idle.DataArrived();
        } else if (!attempt.consumed && attempt.parsed == 0) {
            idle.Pause(TicksUntil(now, deadline));
        }
    }

    if (valid) {
        if (poll) {
            SendFormatCommand(context, owner, gage, record, format.MeasPostCommand);
        }
        if ((format.Options & FMT_OPT_CLEAR_AFTER) != 0) {
            Drain(context, owner, record, quietMs);
        }
    }
    if (!poll) {
        SendFormatCommand(context, owner, gage, record, format.MeasPostCommand);
    }
    if (!valid) {
        output.result.Value = std::bit_cast<double>(kReadFailureValueBits);
        return 0;
    }
    return 1;
}

}  // namespace gage
