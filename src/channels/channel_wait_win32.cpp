#include <windows.h>
#include <winsock2.h>

#include "channels/channel_wait.h"

namespace gage {

int ChannelWaitReadable(const ConnectionRecord& record, int milliseconds) {
    if (milliseconds < 0) {
        milliseconds = 0;
    }
    if (record.IsTcp()) {
        if (!record.Socket.is_open()) {
            return -1;
        }
        const auto socket = static_cast<SOCKET>(record.Socket.get());
        fd_set readable;
        FD_ZERO(&readable);
        FD_SET(socket, &readable);
        timeval timeout{milliseconds / 1000, (milliseconds % 1000) * 1000};
        const int ready = ::select(0, &readable, nullptr, nullptr, &timeout);
        if (ready == SOCKET_ERROR) {
            return -1;
        }
        return ready > 0 ? 1 : 0;
    }
    if (!record.PortHandle.is_open()) {
        return -1;
    }
    // A port opened for plain (not overlapped) I/O has no event to wait on, so the wait looks at
    // the driver's input queue in 1 ms sleeps. That is far cheaper than the read cycle polling
    // the port itself: no read, no clock and no wait object per slice (under Wine every wait
    // object is a server round trip, the dearest in a 32-bit process).
    const auto port = reinterpret_cast<HANDLE>(record.PortHandle.get());
    const ULONGLONG deadline = ::GetTickCount64() + static_cast<ULONGLONG>(milliseconds);
    for (;;) {
        DWORD errors = 0;
        COMSTAT status{};
        if (!::ClearCommError(port, &errors, &status)) {
            return -1;
        }
        if (status.cbInQue > 0) {
            return 1;
        }
        if (::GetTickCount64() >= deadline) {
            return 0;
        }
        ::Sleep(1);
    }
}

}  // namespace gage
