#include "config/connection_record.h"

#include <cstring>
#include <new>

namespace gage {

int AllocateReceiveBuffer(ConnectionRecord& record, int size) {
    record.RxBuffer.reset();
    record.RxCount = 0;
    if (size <= 0) {
        return 0;
    }
    try {
        record.RxBuffer = std::make_unique<std::uint8_t[]>(static_cast<std::size_t>(size));
    } catch (const std::bad_alloc&) {
        return 0;
    }
    return 1;
}

void EmptyReceiveBuffer(ConnectionRecord& record) {
    if (record.RxBuffer) {
        record.RxBuffer[0] = 0;
        record.RxCount = 0;
    }
}

void ClearConnection(ConnectionRecord& record) {
    record = ConnectionRecord{};
}

void ConsumeReceivedBytes(ConnectionRecord& record, int count) {
    if (!record.RxBuffer || count <= 0) {
        return;
    }
    if (count >= record.RxCount) {
        record.RxCount = 0;
        record.RxBuffer[0] = 0;
        return;
    }
    std::memmove(record.RxBuffer.get(), record.RxBuffer.get() + count,
                 static_cast<std::size_t>(record.RxCount - count));
    record.RxCount -= count;
    record.RxBuffer[record.RxCount] = 0;
}

void CopyConnectionSettings(const ConnectionRecord& from, ConnectionRecord& to) {
    to.Name = from.Name;
    to.InterfaceType = from.InterfaceType;
    to.Kind = from.Kind;
    to.PortNumber = from.PortNumber;
    to.BaudRate = from.BaudRate;
    to.DataBits = from.DataBits;
    to.StopBits = from.StopBits;
    to.Parity = from.Parity;
    to.FlowControl = from.FlowControl;
    to.BufferSize = from.BufferSize;
    to.HostName = from.HostName;
    to.TcpPort = from.TcpPort;
    to.IpAddress = from.IpAddress;
}

}  // namespace gage
