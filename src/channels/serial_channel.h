#pragma once
// Serial connections: opening a COM device, applying the record's line settings, reading what
// has arrived without waiting, writing command bytes, purging and the START/PAUSE line controls.
// Errors reach the user through ReportCommError (comm_errors.h).

#include <cstdint>
#include <string>

#include "channels/channel.h"
#include "config/serial_port_map.h"

namespace gage {

// Results of SerialConfigure for values it cannot apply.
inline constexpr int SERIAL_CONFIG_BAD_PARITY = -102;
inline constexpr int SERIAL_CONFIG_BAD_STOP_BITS = -104;
inline constexpr int SERIAL_CONFIG_BAD_FLOW_CONTROL = -105;

// The device a port number names: the one the port map gives it, or else the one it names under
// the configured prefix (see serial_port.h).
std::string SerialDeviceName(const ServerSettings& settings, int portNumber);
// A port number from 1 to 64 and an open handle.
bool SerialPortUsable(const ConnectionRecord& record);

// Opens the record's port (exclusive) and sizes its queues to BufferSize. 1 opened, 0 failed
// (reported as code -10).
int SerialOpen(ChannelContext& context, WindowHandle owner, ConnectionRecord& record);
// Applies the line settings; 0, or SERIAL_CONFIG_BAD_* with nothing applied.
int SerialConfigure(ChannelContext& context, WindowHandle owner, ConnectionRecord& record);
// Drops DTR and RTS, discards both queues and closes. 1 if a port was open, else 0.
int SerialClose(ConnectionRecord& record);
// Appends what has arrived (at most up to 16382 held bytes). Bytes appended, 0, or -1 when the
// user chose Abort in the error box.
int SerialRead(ChannelContext& context, WindowHandle owner, ConnectionRecord& record);
// Writes the bytes; returns the count written (0 for length 0 or failure).
int SerialWrite(ChannelContext& context, WindowHandle owner, ConnectionRecord& record,
                const std::uint8_t* bytes, int length);
// Discards the input (bit 0) and/or output (bit 1) queue. Non-zero on success.
int SerialPurge(ChannelContext& context, WindowHandle owner, ConnectionRecord& record,
                unsigned which);
// START (1) / PAUSE (0) by flow control: XON/XOFF holds or releases transmission, CTS/RTS drops
// or raises DTR then RTS, others do nothing. Returns 1 when the port was usable.
int SerialSignal(ConnectionRecord& record, int signal);
// 1 if the COM device of that number can be opened now, else 0; silent.
int SerialProbePort(const ServerSettings& settings, int portNumber);

}  // namespace gage
