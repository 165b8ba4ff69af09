#pragma once
// The operating-system side of a serial port, one small set of calls implemented by
// serial_port_win32.cpp (Win32 communications API) and serial_port_posix.cpp (POSIX terminal
// devices). The portable serial channel decides what to do; these only do it.
//
// Device names: on Windows "\\.\" + prefix + number, the Win32 device namespace (COM3).
// On POSIX: a prefix beginning with "/" is a path prefix ("/dev/ttyUSB" gives "/dev/ttyUSB3",
// "/tmp/x/com" gives "/tmp/x/com3", a link to any terminal such as a pseudo-terminal); the
// default prefix "COM" (any case) maps port n to "/dev/ttyS<n-1>", as Wine maps COM ports;
// any other prefix is taken under /dev ("ttyACM" gives "/dev/ttyACM3").
// A port mapped to a device ([GAGESERVER PORTS]) opens that device: on POSIX a path as written,
// or a bare name under /dev ("ttyUSB0"); on Windows a name beginning with "\\" as written, or
// a bare name in the device namespace ("CNCA0" gives "\\.\CNCA0").

#include <cstdint>
#include <string>

namespace gage::serial_port {

using Native = std::intptr_t;
inline constexpr Native kInvalid = -1;

// The line settings, already checked by the caller (values as in the connection record).
struct LineSettings {
    std::uint32_t baudRate = 9600;
    std::uint8_t dataBits = 8;
    int parity = 1;       // 1 none, 2 odd, 3 even, 4 mark, 5 space
    int stopBits = 1;     // 1 one, 2 two, 3 one and a half
    int flowControl = 1;  // 1 none, 2 XON/XOFF, 3 CTS/RTS, 4 RTS off/DTR on
    int bufferSize = 1024;
};

enum class ModemLine { Dtr, Rts };
enum class Transmission { Hold, Release };  // as if XOFF / XON had been received

std::string DeviceName(const std::string& prefix, int number);
std::string MappedDeviceName(const std::string& mapped);
// Whether something of that name is there to be opened (it is not opened).
bool DeviceExists(const std::string& deviceName);
// Opens an existing device for reading and writing, exclusively, without waiting.
Native Open(const std::string& deviceName);
// The same; on failure whyNot says in plain words why ("it does not exist", "it is in use").
Native Open(const std::string& deviceName, std::string& whyNot);
// Gives up the exclusive hold; the handle is then closed by its owner (or by Close).
void Release(Native port);
void Close(Native port);
// Sizes the driver's input and output queues (where the system lets it).
bool SetQueueSizes(Native port, int bytes);
// Applies the settings and the non-waiting read time-outs; false when the device refused them.
bool Apply(Native port, const LineSettings& settings);
// Reads up to room bytes of what has arrived, never waiting. False when the call failed.
bool ReadAvailable(Native port, std::uint8_t* destination, int room, int& count);
// Writes the bytes, waiting at most 10 ms per byte plus 1000 ms. False when the call failed.
bool Write(Native port, const std::uint8_t* bytes, int length, int& written);
// Reads and clears the line-error flags (COMM_ERR_* bits).
int TakeLineErrors(Native port);
// Discards the input and/or output queue; false on failure.
bool PurgeInput(Native port);
bool PurgeOutput(Native port);
// Bytes written but not yet sent on the line (0 when unknown).
int QueuedOutput(Native port);
void SetModemLine(Native port, ModemLine line, bool on);
void SetTransmission(Native port, Transmission state);

}  // namespace gage::serial_port
