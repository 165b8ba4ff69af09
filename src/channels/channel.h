#pragma once
// The channel operations: every read, write, purge and close of a connection goes through these,
// which hand the call to the serial or the TCP/IP implementation by the record's Kind. A Kind
// other than serial or TCP/IP makes every operation a no-op returning 0.

#include <cstdint>

#include "channels/random_source.h"
#include "config/connection_record.h"
#include "config/gage_record.h"
#include "config/server_settings.h"
#include "support/support.h"
#include "support/window_handle.h"

namespace gage {

// The held half of the last polar-method pair, shared by all simulated gages.
struct NormalDeviateState {
    bool HasHeld = false;
    double Held = 0.0;
};

// Bits of the serial error-report mode (SetCommErrorReporting).
inline constexpr int COMM_REPORT_OPEN_ERRORS = 1;  // negative codes: opening and settings
inline constexpr int COMM_REPORT_LINE_ERRORS = 2;  // positive codes: line-error flags
inline constexpr int COMM_REPORT_ALL = COMM_REPORT_OPEN_ERRORS | COMM_REPORT_LINE_ERRORS;

// The state the channel layer needs, owned by the runtime.
struct ChannelContext {
    ChannelContext(Support& supportLibrary, const ServerSettings& serverSettings)
        : support(supportLibrary), settings(serverSettings) {}

    Support& support;
    const ServerSettings& settings;
    int commErrorReporting = COMM_REPORT_ALL;  // serial error message boxes, by kind of code
    NormalDeviateState deviate;
    RandomSource random;  // uniform 0..32767 behind NormalDeviate; fixed seed unless reseeded
};

// Purge bits of ChannelPurge.
inline constexpr unsigned PURGE_RECEIVED = 1;
inline constexpr unsigned PURGE_SENDING = 2;
inline constexpr unsigned PURGE_ALL = PURGE_RECEIVED | PURGE_SENDING;

// Line-control signals of ChannelSignal.
inline constexpr int SIGNAL_PAUSE = 0;
inline constexpr int SIGNAL_START = 1;

// Bytes appended (> 0), 0 for nothing or failure, -1 when the user chose Abort in the serial
// error box. Allocates the receive buffer first when the record has none.
int ChannelRead(ChannelContext& context, WindowHandle owner, ConnectionRecord& record);
// Serial: bytes written. TCP/IP: 1 when all were sent, 0 on failure.
int ChannelWrite(ChannelContext& context, WindowHandle owner, ConnectionRecord& record,
                 const std::uint8_t* bytes, int length);
// Serial: purges the queues named by which. TCP/IP: drops the socket and connects again.
int ChannelPurge(ChannelContext& context, WindowHandle owner, ConnectionRecord& record,
                 unsigned which);
// Serial: 1 if a port was open. TCP/IP: 1.
int ChannelClose(ChannelContext& context, ConnectionRecord& record);
// Serial START/PAUSE line control; no effect on TCP/IP.
int ChannelSignal(ChannelContext& context, ConnectionRecord& record, int signal);
// Brings a connection into a known, empty state (Serial Data Monitor). Non-zero when ready.
int ChannelPrepare(ChannelContext& context, WindowHandle owner, ConnectionRecord& record);

// Appends one simulated reading ("%4.4f\r\n" of a normal deviate) to the receive buffer of the
// gage's connection; returns the characters appended. The caller makes sure the buffer exists.
// The decimal point is the user's decimal separator (ServerSettings), the one the record parser
// reads numbers from gages with; the text never depends on the process locale.
int SimulatedRead(ChannelContext& context, const GageRecord& gage, ConnectionTable& connections);
// The same for a connection record directly.
int SimulatedRead(ChannelContext& context, ConnectionRecord& record);
// One draw from the standard normal distribution (polar method, one value held over).
double NormalDeviate(ChannelContext& context);

// Whether a gage reads from the simulated source: its name contains "RandomValue" (with case).
bool IsSimulatedGage(const GageRecord& gage);

}  // namespace gage
