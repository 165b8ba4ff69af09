#include "channels/channel.h"

#include <cstring>

// Placeholder dispatch until the serial and TCP/IP channels are in.

namespace gage {

int ChannelRead(ChannelContext&, WindowHandle, ConnectionRecord&) { return 0; }
int ChannelWrite(ChannelContext&, WindowHandle, ConnectionRecord&, const std::uint8_t*, int) {
    return 0;
}
int ChannelPurge(ChannelContext&, WindowHandle, ConnectionRecord&, unsigned) { return 0; }
int ChannelClose(ChannelContext&, ConnectionRecord&) { return 0; }
int ChannelSignal(ChannelContext&, ConnectionRecord&, int) { return 0; }
int ChannelPrepare(ChannelContext&, WindowHandle, ConnectionRecord&) { return 0; }
int SimulatedRead(ChannelContext&, const GageRecord&, ConnectionTable&) { return 0; }
double NormalDeviate(ChannelContext&) { return 0.0; }
bool IsSimulatedGage(const GageRecord& gage) {
    return gage.Name.view().find("RandomValue") != std::string_view::npos;
}

}  // namespace gage
