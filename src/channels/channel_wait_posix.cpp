#include <poll.h>

#include <cerrno>

#include "channels/channel_wait.h"

namespace gage {

int ChannelWaitReadable(const ConnectionRecord& record, int milliseconds) {
    const auto handle = record.IsTcp() ? record.Socket.get() : record.PortHandle.get();
    if (handle < 0) {
        return -1;
    }
    pollfd watched{};
    watched.fd = static_cast<int>(handle);
    watched.events = POLLIN;
    const int ready = ::poll(&watched, 1, milliseconds < 0 ? 0 : milliseconds);
    if (ready < 0) {
        return errno == EINTR ? 0 : -1;
    }
    return ready > 0 ? 1 : 0;
}

}  // namespace gage
