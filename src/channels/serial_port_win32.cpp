// Serial ports through the Win32 communications API.

#include <windows.h>

#include <array>
#include <string_view>

#include "channels/serial_port.h"

namespace gage::serial_port {
namespace {

HANDLE Handle(Native port) {
    return reinterpret_cast<HANDLE>(port);
}

BYTE ParityFor(int parity) {
    switch (parity) {
        case 2:
            return ODDPARITY;
        case 3:
            return EVENPARITY;
        case 4:
            return MARKPARITY;
        case 5:
            return SPACEPARITY;
        default:
            return NOPARITY;
    }
}

BYTE StopBitsFor(int stopBits) {
    switch (stopBits) {
        case 2:
            return TWOSTOPBITS;
        case 3:
            return ONE5STOPBITS;
        default:
            return ONESTOPBIT;
    }
}

}  // namespace

std::string DeviceName(const std::string& prefix, int number) {
    return "\\\\.\\" + prefix + std::to_string(number);
}

std::string MappedDeviceName(const std::string& mapped) {
    return mapped.rfind("\\\\", 0) == 0 ? mapped : "\\\\.\\" + mapped;
}

bool DeviceExists(const std::string& deviceName) {
    // Devices of the namespace are named without the "\\.\" in front; files as they are.
    constexpr std::string_view kNamespace = "\\\\.\\";
    if (deviceName.rfind(kNamespace, 0) == 0) {
        std::array<char, 1024> target{};
        const std::string name = deviceName.substr(kNamespace.size());
        return ::QueryDosDeviceA(name.c_str(), target.data(), static_cast<DWORD>(target.size())) !=
               0;
    }
    return ::GetFileAttributesA(deviceName.c_str()) != INVALID_FILE_ATTRIBUTES;
}

Native Open(const std::string& deviceName) {
    std::string ignored;
    return Open(deviceName, ignored);
}

Native Open(const std::string& deviceName, std::string& whyNot) {
    const HANDLE handle = ::CreateFileA(deviceName.c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                                        nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        switch (error) {
            case ERROR_FILE_NOT_FOUND:
            case ERROR_PATH_NOT_FOUND:
                whyNot = "it does not exist";
                break;
            case ERROR_ACCESS_DENIED:
            case ERROR_SHARING_VIOLATION:
                whyNot = "it is in use";
                break;
            default:
                whyNot = "Windows error " + std::to_string(error);
                break;
        }
        return kInvalid;
    }
    return reinterpret_cast<Native>(handle);
}

void Release(Native) {}

void Close(Native port) {
    if (port != kInvalid) {
        ::CloseHandle(Handle(port));
    }
}

bool SetQueueSizes(Native port, int bytes) {
    const DWORD size = bytes > 0 ? static_cast<DWORD>(bytes) : 0;
    return ::SetupComm(Handle(port), size, size) != 0;
}

bool Apply(Native port, const LineSettings& line) {
    DCB control{};
    control.DCBlength = sizeof control;
    control.BaudRate = line.baudRate;
    control.ByteSize = line.dataBits;
    control.Parity = ParityFor(line.parity);
    control.StopBits = StopBitsFor(line.stopBits);
    control.fBinary = TRUE;
    control.fParity = FALSE;  // parity is generated, never checked
    control.fDtrControl = DTR_CONTROL_ENABLE;
    control.fErrorChar = TRUE;
    control.fRtsControl = RTS_CONTROL_ENABLE;
    switch (line.flowControl) {
        case 2:
            control.fOutX = TRUE;
            control.fInX = TRUE;
            break;
        case 3:
            control.fOutxCtsFlow = TRUE;
            control.fRtsControl = RTS_CONTROL_HANDSHAKE;
            break;
        case 4:
            control.fRtsControl = RTS_CONTROL_DISABLE;
            break;
        default:
            break;
    }
    const int queue = line.bufferSize > 0 ? line.bufferSize : 0;
    control.XonLim = static_cast<WORD>(queue / 5);
    control.XoffLim = static_cast<WORD>(queue / 2);
    control.XonChar = 0x11;
    control.XoffChar = 0x13;
    control.ErrorChar = '?';
    control.EofChar = 0x1A;
    control.EvtChar = 0;
    const bool applied = ::SetCommState(Handle(port), &control) != 0;

    COMMTIMEOUTS timeouts{};
    ::GetCommTimeouts(Handle(port), &timeouts);
    timeouts.ReadIntervalTimeout = MAXDWORD;
    timeouts.ReadTotalTimeoutMultiplier = 0;
    timeouts.ReadTotalTimeoutConstant = 0;
    timeouts.WriteTotalTimeoutMultiplier = 10;
    timeouts.WriteTotalTimeoutConstant = 1000;
    ::SetCommTimeouts(Handle(port), &timeouts);
    return applied;
}

bool ReadAvailable(Native port, std::uint8_t* destination, int room, int& count) {
    DWORD read = 0;
    const BOOL ok = ::ReadFile(Handle(port), destination, static_cast<DWORD>(room > 0 ? room : 0),
                               &read, nullptr);
    count = static_cast<int>(read);
    return ok != 0;
}

bool Write(Native port, const std::uint8_t* bytes, int length, int& written) {
    DWORD done = 0;
    const BOOL ok = ::WriteFile(Handle(port), bytes, static_cast<DWORD>(length), &done, nullptr);
    written = static_cast<int>(done);
    return ok != 0;
}

int TakeLineErrors(Native port) {
    DWORD errors = 0;
    COMSTAT status{};
    if (!::ClearCommError(Handle(port), &errors, &status)) {
        return 0;
    }
    return static_cast<int>(errors);
}

bool PurgeInput(Native port) {
    return ::PurgeComm(Handle(port), PURGE_RXCLEAR) != 0;
}
bool PurgeOutput(Native port) {
    return ::PurgeComm(Handle(port), PURGE_TXCLEAR) != 0;
}
int QueuedOutput(Native port) {
    DWORD errors = 0;
    COMSTAT status{};
    return ::ClearCommError(Handle(port), &errors, &status) ? static_cast<int>(status.cbOutQue) : 0;
}

void SetModemLine(Native port, ModemLine line, bool on) {
    const DWORD function = line == ModemLine::Dtr ? (on ? SETDTR : CLRDTR) : (on ? SETRTS : CLRRTS);
    ::EscapeCommFunction(Handle(port), function);
}

void SetTransmission(Native port, Transmission state) {
    ::EscapeCommFunction(Handle(port), state == Transmission::Hold ? SETXOFF : SETXON);
}

}  // namespace gage::serial_port
