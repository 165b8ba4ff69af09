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
    // A port opened for plain (not overlapped) reads cannot be waited on; say whether bytes are
    // queued, and let the caller sleep otherwise.
    DWORD errors = 0;
    COMSTAT status{};
    const auto port = reinterpret_cast<HANDLE>(record.PortHandle.get());
    if (::ClearCommError(port, &errors, &status) && status.cbInQue > 0) {
        return 1;
    }
    return -1;
}

}  // namespace gage
