#include "channels/serial_channel.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "channels/comm_errors.h"
#include "channels/serial_port.h"

namespace gage {
namespace {

constexpr const char* kReadErrorText = "Error Reading Communication Port";
// Longest wait at close for written bytes to leave the port.
constexpr std::chrono::milliseconds kCloseDrainLimit{1000};

serial_port::Native Port(const ConnectionRecord& record) {
    return record.PortHandle.get();
}

// Whether ReportCommError would show a box for code; when it does not, its result is the code,
// which must not be mistaken for a button.
bool ReportShows(const ChannelContext& context, int code) {
    const int bit = code < 0 ? COMM_REPORT_OPEN_ERRORS : COMM_REPORT_LINE_ERRORS;
    return code != 0 && (context.commErrorReporting & bit) != 0;
}

// A failed call whose port reports no line error still failed (the device went away, say):
// it is reported as an unusable device rather than passed over in silence.
int FailureCode(serial_port::Native port) {
    const int errors = serial_port::TakeLineErrors(port);
    return errors != 0 ? errors : COMM_ERR_MODE;
}

}  // namespace

std::string SerialDeviceName(const ServerSettings& settings, int portNumber) {
    const std::string& mapped = settings.PortMap.DeviceFor(portNumber);
    return mapped.empty() ? serial_port::DeviceName(settings.ComPrefix.str(), portNumber)
                          : serial_port::MappedDeviceName(mapped);
}

bool SerialPortUsable(const ConnectionRecord& record) {
    return record.PortNumber >= 1 && record.PortNumber <= kMaxSerialPortNumber &&
           record.PortHandle.is_open();
}

int SerialOpen(ChannelContext& context, WindowHandle owner, ConnectionRecord& record) {
    if (record.PortNumber < 1 || record.PortNumber > kMaxSerialPortNumber) {
        return 0;
    }
    if (record.PortHandle.is_open()) {
        return 1;
    }
    const std::string device = SerialDeviceName(context.settings, record.PortNumber);
    std::string whyNot;
    const serial_port::Native port = serial_port::Open(device, whyNot);
    record.PortHandle.reset(port);
    if (port == serial_port::kInvalid) {
        // The box names no device; the log says which one failed and why, also when opening
        // quietly (start-up), so a wrong or missing device name can be found.
        const std::string text =
            SerialPortKey(record.PortNumber) + ": cannot open " + device + ": " + whyNot;
        context.support.UtilLogError(context.settings.LogPath.c_str(), kApplicationName,
                                     text.c_str());
        ReportCommError(context, owner, COMM_ERR_HARDWARE, nullptr, MB_STYLE_OK);
        return 0;
    }
    serial_port::SetQueueSizes(port, record.BufferSize);
    return 1;
}

int SerialConfigure(ChannelContext&, WindowHandle, ConnectionRecord& record) {
    if (!SerialPortUsable(record)) {
        return 0;
    }
    if (record.Parity < 1 || record.Parity > 5) {
        return SERIAL_CONFIG_BAD_PARITY;
    }
    if (record.StopBits < 1 || record.StopBits > 3) {
        return SERIAL_CONFIG_BAD_STOP_BITS;
    }
    if (record.FlowControl < 1 || record.FlowControl > 4) {
        return SERIAL_CONFIG_BAD_FLOW_CONTROL;
    }
    serial_port::LineSettings settings;
    settings.baudRate = record.BaudRate;
    settings.dataBits = static_cast<std::uint8_t>(record.DataBits & 0xFFu);
    settings.parity = static_cast<int>(record.Parity);
    settings.stopBits = static_cast<int>(record.StopBits);
    settings.flowControl = static_cast<int>(record.FlowControl);
    settings.bufferSize = record.BufferSize;
    // As with the Win32 device control block, a device that refuses the settings keeps its
    // previous ones; the next read or write shows whether the line works.
    serial_port::Apply(Port(record), settings);
    return 0;
}

int SerialClose(ConnectionRecord& record) {
    if (!record.PortHandle.is_open()) {
        return 0;
    }
    const serial_port::Native port = Port(record);
    // What was written must still reach the device (a host often closes right after a subgroup
    // command), so the output is given time to go out before anything is discarded; bounded,
    // since flow control can hold it back for ever.
    const auto deadline = std::chrono::steady_clock::now() + kCloseDrainLimit;
    while (serial_port::QueuedOutput(port) > 0 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    serial_port::SetModemLine(port, serial_port::ModemLine::Dtr, false);
    serial_port::SetModemLine(port, serial_port::ModemLine::Rts, false);
    serial_port::PurgeInput(port);
    if (serial_port::QueuedOutput(port) > 0) {
        serial_port::PurgeOutput(port);
    }
    serial_port::Release(port);
    record.PortHandle.reset();
    return 1;
}

int SerialRead(ChannelContext& context, WindowHandle owner, ConnectionRecord& record) {
    if (!record.HasReceiveBuffer()) {
        return 0;
    }
    const int held = std::clamp(record.RxCount, 0, kSerialAppendLimit);
    const int room = kSerialAppendLimit - held;
    int count = 0;
    for (;;) {
        int error = 0;
        count = 0;
        if (!SerialPortUsable(record)) {
            error = COMM_ERR_MODE;
        } else if (!serial_port::ReadAvailable(Port(record), record.RxBuffer.get() + held, room,
                                               count)) {
            count = 0;
            error = FailureCode(Port(record));
        }
        if (error == 0) {
            break;
        }
        const bool shown = ReportShows(context, error);
        const int answer = ReportCommError(context, owner, error, kReadErrorText,
                                           MB_STYLE_ABORTRETRYIGNORE | MB_STYLE_DEFBUTTON3);
        if (shown && answer == MB_RESULT_ABORT) {
            return -1;
        }
        if (shown && answer == MB_RESULT_RETRY) {
            continue;
        }
        break;
    }
    count = std::clamp(count, 0, room);
    if (count > 0) {
        record.RxCount = held + count;
    }
    return count;
}

int SerialWrite(ChannelContext& context, WindowHandle owner, ConnectionRecord& record,
                const std::uint8_t* bytes, int length) {
    if (length <= 0 || bytes == nullptr) {
        return 0;
    }
    if (!SerialPortUsable(record)) {
        ReportCommError(context, owner, COMM_ERR_MODE, nullptr, MB_STYLE_OK);
        return 0;
    }
    int written = 0;
    if (!serial_port::Write(Port(record), bytes, length, written)) {
        ReportCommError(context, owner, FailureCode(Port(record)), nullptr, MB_STYLE_OK);
    }
    return std::clamp(written, 0, length);
}

int SerialPurge(ChannelContext& context, WindowHandle owner, ConnectionRecord& record,
                unsigned which) {
    if (!SerialPortUsable(record)) {
        return 0;
    }
    bool result = false;
    if ((which & PURGE_RECEIVED) != 0) {
        result = serial_port::PurgeInput(Port(record));
    }
    if ((which & PURGE_SENDING) != 0) {
        result = serial_port::PurgeOutput(Port(record));
    }
    if (result) {
        const int errors = serial_port::TakeLineErrors(Port(record));
        if (errors != 0) {
            ReportCommError(context, owner, errors, nullptr, MB_STYLE_OK);
        }
    }
    return result ? 1 : 0;
}

int SerialSignal(ConnectionRecord& record, int signal) {
    if (!SerialPortUsable(record)) {
        return 0;
    }
    const serial_port::Native port = Port(record);
    const bool start = signal == SIGNAL_START;
    switch (record.FlowControl) {
        case 2:
            serial_port::SetTransmission(
                port, start ? serial_port::Transmission::Hold : serial_port::Transmission::Release);
            break;
        case 3:
            serial_port::SetModemLine(port, serial_port::ModemLine::Dtr, !start);
            serial_port::SetModemLine(port, serial_port::ModemLine::Rts, !start);
            break;
        default:
            break;
    }
    return 1;
}

int SerialProbePort(const ServerSettings& settings, int portNumber) {
    if (portNumber < 1 || portNumber > kMaxSerialPortNumber) {
        return 0;
    }
    const serial_port::Native port = serial_port::Open(SerialDeviceName(settings, portNumber));
    if (port == serial_port::kInvalid) {
        return 0;
    }
    serial_port::SetModemLine(port, serial_port::ModemLine::Dtr, false);
    serial_port::SetModemLine(port, serial_port::ModemLine::Rts, false);
    serial_port::PurgeInput(port);
    serial_port::PurgeOutput(port);
    serial_port::Close(port);
    return 1;
}

}  // namespace gage
