#include "reading/connection_opening.h"

#include "channels/comm_errors.h"
#include "channels/serial_channel.h"
#include "channels/tcp_channel.h"
#include "config/interface_type_file.h"
#include "reading/command_sender.h"

namespace gage {

namespace {

int OpenTcp(ReadContext& context, WindowHandle owner, ConnectionRecord& record) {
    if (!record.Socket.is_open() && !TcpOpenSettled(context.channels, record)) {
        record.Socket.reset();
    }
    EmptyReceiveBuffer(record);
    if (!record.Socket.is_open()) {
        return 0;
    }
    SendInterfaceInit(context, owner, record);
    return 1;
}

int OpenSerial(ReadContext& context, WindowHandle owner, ConnectionRecord& record) {
    if (record.PortHandle.is_open()) {
        SerialPurge(context.channels, owner, record, PURGE_ALL);
    } else if (SerialOpen(context.channels, owner, record)) {
        SerialConfigure(context.channels, owner, record);
    }
    EmptyReceiveBuffer(record);
    if (!record.PortHandle.is_open()) {
        return 0;
    }
    SendInterfaceInit(context, owner, record);
    return 1;
}

}  // namespace

int OpenGageConnection(ReadContext& context, WindowHandle owner, int connectionIndex) {
    ConnectionRecord* const record = GageConnection(context, connectionIndex);
    if (record == nullptr) {
        return 0;
    }
    const ScopedCommErrorReporting quiet(context.channels, 0);
    if (record->Kind == KIND_TCPIP) {
        if (record->IpAddress != kInaddrNone && record->TcpPort >= 1) {
            return OpenTcp(context, owner, *record);
        }
    } else if (record->Kind == KIND_SERIAL) {
        if (record->PortNumber >= 1) {
            return OpenSerial(context, owner, *record);
        }
    }
    return 1;
}

int OpenAllGageConnections(ReadContext& context, WindowHandle owner) {
    TcpConnectAll(context.channels, context.connections);
    int opened = 0;
    for (int index = 0; index < kConnectionCount; ++index) {
        opened += OpenGageConnection(context, owner, index) != 0 ? 1 : 0;
    }
    return opened;
}

void SendInterfaceInit(ReadContext& context, WindowHandle owner, ConnectionRecord& record) {
    for (const InitString& init :
         ReadInitStrings(context.settings.DefinitionsPath, record.InterfaceType)) {
        DelayMilliseconds(context, init.delay);
        SendGageCommand(context, owner, nullptr, record, init.command);
    }
}

int SendGageInit(ReadContext& context, WindowHandle owner, const GageRecord& gage) {
    ConnectionRecord* const record = GageConnection(context, gage.ConnectionIndex);
    if (record == nullptr) {
        return 1;
    }
    const ScopedCommErrorReporting quiet(context.channels, 0);
    const bool open = record->Kind == KIND_TCPIP
                          ? record->Socket.is_open()
                          : record->Kind == KIND_SERIAL && record->PortNumber >= 1 &&
                                record->PortHandle.is_open();
    if (open && !gage.Format.GageInitCommand.empty()) {
        DelayMilliseconds(context, context.settings.WaitTime);
        SendGageCommand(context, owner, &gage, *record, gage.Format.GageInitCommand.view());
        DelayMilliseconds(context, context.settings.WaitTime);
    }
    return 1;
}

}  // namespace gage
