#pragma once
// The two message boxes through which serial-port and gage errors reach the user, and the switch
// that silences them while ports are probed or opened on the system's own initiative.

#include "channels/channel.h"

namespace gage {

// Line-error flags of a serial port (the bits of a positive error code).
inline constexpr int COMM_ERR_RXOVER = 0x0001;    // input queue overflow
inline constexpr int COMM_ERR_OVERRUN = 0x0002;   // character lost to overrun
inline constexpr int COMM_ERR_RXPARITY = 0x0004;  // parity error
inline constexpr int COMM_ERR_FRAME = 0x0008;     // framing error
inline constexpr int COMM_ERR_BREAK = 0x0010;     // break condition
inline constexpr int COMM_ERR_TXFULL = 0x0100;    // output queue full
inline constexpr int COMM_ERR_MODE = 0x8000;  // mode error; also an unusable port number or handle

// Negative codes of opening and configuring a port.
inline constexpr int COMM_ERR_BAD_ID = -1;
inline constexpr int COMM_ERR_OPEN = -2;
inline constexpr int COMM_ERR_NOT_OPEN = -3;
inline constexpr int COMM_ERR_MEMORY = -4;
inline constexpr int COMM_ERR_DEFAULT = -5;
inline constexpr int COMM_ERR_HARDWARE = -10;  // device absent or held by another program
inline constexpr int COMM_ERR_BYTE_SIZE = -11;
inline constexpr int COMM_ERR_BAUD_RATE = -12;

// Codes of ReportGageError.
inline constexpr int GAGE_ERR_PORT_NUMBER = 100;
inline constexpr int GAGE_ERR_PORT_HANDLE = 101;
inline constexpr int GAGE_ERR_UNIT_NUMBER = 102;
inline constexpr int GAGE_ERR_FUNCTION = 103;
inline constexpr int GAGE_ERR_MEMORY = 104;
inline constexpr int GAGE_ERR_TIMEOUT = 105;
inline constexpr int GAGE_ERR_OPEN_PORT = 106;
inline constexpr int GAGE_ERR_NO_PORT = 107;
inline constexpr int GAGE_ERR_READ = 108;
inline constexpr int GAGE_ERR_DESCRIPTION = 109;

// Sets the report mode (COMM_REPORT_* bits) and returns the previous one.
int SetCommErrorReporting(ChannelContext& context, int mode);

// Sets a report mode for its lifetime and restores the previous one afterwards.
class ScopedCommErrorReporting {
  public:
    ScopedCommErrorReporting(ChannelContext& context, int mode)
        : context_(context), previous_(SetCommErrorReporting(context, mode)) {}
    ~ScopedCommErrorReporting() { SetCommErrorReporting(context_, previous_); }
    ScopedCommErrorReporting(const ScopedCommErrorReporting&) = delete;
    ScopedCommErrorReporting& operator=(const ScopedCommErrorReporting&) = delete;

  private:
    ChannelContext& context_;
    int previous_;
};

// The string id of a serial error code's message (flags tested in a fixed order of precedence).
unsigned CommErrorMessageId(int code);
// The string id of a gage error code's message.
unsigned GageErrorMessageId(int code);

// Shows a serial error (beep, stop icon added to style). Returns the button chosen, 0 for code 0,
// or the code itself when the mode keeps this kind of error quiet. extra may be null.
int ReportCommError(ChannelContext& context, WindowHandle owner, int code, const char* extra,
                    unsigned style);
// Shows a gage error with optional leading and trailing texts (either may be null). Returns the
// button chosen, or the code itself when reports are off.
int ReportGageError(ChannelContext& context, WindowHandle owner, int code, const char* leading,
                    const char* trailing, unsigned style);

}  // namespace gage
