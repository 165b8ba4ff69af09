#include "channels/channel.h"

#include "channels/comm_errors.h"
#include "channels/serial_channel.h"
#include "channels/tcp_channel.h"

namespace gage {
namespace {

bool IsSerial(const ConnectionRecord& record) {
    return record.Kind == KIND_SERIAL;
}
bool IsTcpIp(const ConnectionRecord& record) {
    return record.Kind == KIND_TCPIP;
}

}  // namespace

int ChannelRead(ChannelContext& context, WindowHandle owner, ConnectionRecord& record) {
    if (!IsSerial(record) && !IsTcpIp(record)) {
        return 0;
    }
    if (!record.HasReceiveBuffer()) {
        if (AllocateReceiveBuffer(record, kReceiveBufferSize) == 0) {
            return 0;
        }
        EmptyReceiveBuffer(record);
    }
    return IsSerial(record) ? SerialRead(context, owner, record) : TcpReceive(context, record);
}

int ChannelWrite(ChannelContext& context, WindowHandle owner, ConnectionRecord& record,
                 const std::uint8_t* bytes, int length) {
    if (IsSerial(record)) {
        return SerialWrite(context, owner, record, bytes, length);
    }
    if (IsTcpIp(record)) {
        return TcpSend(context, record, bytes, length);
    }
    return 0;
}

int ChannelPurge(ChannelContext& context, WindowHandle owner, ConnectionRecord& record,
                 unsigned which) {
    if (IsSerial(record)) {
        return SerialPurge(context, owner, record, which);
    }
    if (IsTcpIp(record)) {
        return TcpOpen(context, record);
    }
    return 0;
}

int ChannelClose(ChannelContext&, ConnectionRecord& record) {
    if (IsSerial(record)) {
        return SerialClose(record);
    }
    if (IsTcpIp(record)) {
        return TcpClose(record);
    }
    return 0;
}

int ChannelSignal(ChannelContext&, ConnectionRecord& record, int signal) {
    return IsSerial(record) ? SerialSignal(record, signal) : 0;
}

int ChannelPrepare(ChannelContext& context, WindowHandle owner, ConnectionRecord& record) {
    const ScopedCommErrorReporting quiet(context, 0);
    if (IsSerial(record) && record.PortNumber >= 1 && record.PortNumber <= kMaxSerialPortNumber) {
        if (record.PortHandle.is_open()) {
            SerialPurge(context, owner, record, PURGE_ALL);
        } else if (SerialOpen(context, owner, record) != 0) {
            SerialConfigure(context, owner, record);
        }
        EmptyReceiveBuffer(record);
        return record.PortHandle.is_open() ? 1 : 0;
    }
    if (IsTcpIp(record) && record.IpAddress != kInaddrNone && record.TcpPort >= 1) {
        const int result = TcpOpen(context, record);
        EmptyReceiveBuffer(record);
        return result;
    }
    return 0;
}

}  // namespace gage
