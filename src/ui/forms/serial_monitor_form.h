#pragma once
// What the Serial Data Monitor decides, apart from its window: keeping the watched connection as
// it was found, one poll tick, and what the send line sends.

#include <functional>
#include <string>
#include <string_view>

#include "config/connection_record.h"
#include "config/gage_record.h"
#include "reading/read_context.h"
#include "support/window_handle.h"
#include "ui/forms/monitor_text.h"

namespace gage {

inline constexpr std::size_t kSendLineRoom = 1023;  // characters of the send line that count
inline constexpr const char* kCarriageReturnToken = "<13>";
inline constexpr const char* kLineFeedToken = "<10>";
inline constexpr const char* kLineEndTokens = "<13><10>";

// Prepares record (ChannelPrepare, error reports silenced) and, when that succeeds, returns what
// watch returns; a connection that was closed before is closed again afterwards. 0 when the
// connection cannot be prepared (watch is not run).
int WatchPreparedConnection(ChannelContext& channels, WindowHandle owner, ConnectionRecord& record,
                            const std::function<int()>& watch);

// One poll tick: reads what has arrived and, when something has, renders and consumes the whole
// receive buffer into shown. After a read the user aborted, the connection is closed and
// prepared again. Returns the bytes shown (0 when none).
int PollMonitorConnection(ChannelContext& channels, WindowHandle owner, ConnectionRecord& record,
                          MonitorTickText& shown);

// The send line with token appended (CR, LF buttons): what counts of the line, then the token.
std::string AppendToken(std::string_view line, std::string_view token);

// The gage that stands in for the sender of typed lines: all zero, so that gage-dependent tokens
// yield zero or nothing.
GageRecord StandInGage();

// Sends the send line to record with the tokens of command strings, followed by CR LF when
// withLineEnd is set. Returns the bytes handed to the channel.
int SendMonitorLine(ReadContext& engine, WindowHandle owner, ConnectionRecord& record,
                    std::string_view line, bool withLineEnd);

}  // namespace gage
