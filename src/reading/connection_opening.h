#pragma once
// Opening a gage connection (serial port or TCP/IP socket) with its interface type's
// initialisation strings, and sending a gage's own initialisation command.

#include "config/connection_record.h"
#include "config/gage_record.h"
#include "reading/read_context.h"
#include "support/window_handle.h"

namespace gage {

// Opens connection index (0..63): an open serial port is purged, a closed one opened and
// configured; an open socket is kept, a closed one connected. The receive buffer is emptied and,
// when the connection is open, the interface type's strings are sent. Returns 1 when the
// connection is open or has nothing to open, 0 when opening failed. Error boxes stay quiet.
int OpenGageConnection(ReadContext& context, WindowHandle owner, int connectionIndex);

// OpenGageConnection for every index 0..63 in order, after the TCP/IP connects of all rows
// have been made together (so that unreachable converters cost one time-out, not one each).
// Returns how many indexes answered 1.
int OpenAllGageConnections(ReadContext& context, WindowHandle owner);

// Sends INIT1..INIT20 of the record's interface type ("delay,command": the delay first).
void SendInterfaceInit(ReadContext& context, WindowHandle owner, ConnectionRecord& record);

// Sends the gage's initialisation command, between two pauses of WAITTIME, when its connection
// is open; never opens one. Always 1.
int SendGageInit(ReadContext& context, WindowHandle owner, const GageRecord& gage);

}  // namespace gage
