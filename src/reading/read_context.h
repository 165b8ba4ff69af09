#pragma once
// What the reading engine works on: the pieces of runtime state it needs, by reference. The
// runtime owns them; a context is cheap to make for each call.

#include "channels/channel.h"
#include "config/connection_record.h"
#include "config/server_settings.h"
#include "reading/engine_clock.h"
#include "support/support.h"

namespace gage {

struct ReadContext {
    ChannelContext& channels;
    ConnectionTable& connections;
    const ServerSettings& settings;
    Support& support;
    EngineClock& clock;
};

// The connection a gage names, or null when its index lies outside the table.
inline ConnectionRecord* GageConnection(ReadContext& context, int connectionIndex) {
    if (connectionIndex < 0 || connectionIndex >= kConnectionCount) {
        return nullptr;
    }
    return &context.connections[static_cast<std::size_t>(connectionIndex)];
}

// Whether the record's port (serial) or socket (TCP/IP) is open.
inline bool ConnectionIsOpen(const ConnectionRecord& record) {
    return record.IsTcp() ? record.Socket.is_open() : record.PortHandle.is_open();
}

}  // namespace gage
