#include <windows.h>

#include "channels/serial_channel.h"
#include "serial_gage.h"
#include "windows/simulator_port.h"

namespace gage::test {

struct SerialGage::Line {};

SerialGage::SerialGage(ServerSettings& settings) {
    const int port = SimulatorComPort();
    if (port >= 1 && port <= kMaxSerialPortNumber && SerialProbePort(settings, port) == 1) {
        port_ = port;
    }
}

SerialGage::~SerialGage() = default;

int QueuedInput(const ConnectionRecord& record) {
    DWORD errors = 0;
    COMSTAT status{};
    ::ClearCommError(reinterpret_cast<HANDLE>(record.PortHandle.get()), &errors, &status);
    return static_cast<int>(status.cbInQue);
}

bool PortsHeldExclusively() {
    const HMODULE ntdll = ::GetModuleHandleA("ntdll.dll");
    return ntdll == nullptr || ::GetProcAddress(ntdll, "wine_get_version") == nullptr;
}

}  // namespace gage::test
