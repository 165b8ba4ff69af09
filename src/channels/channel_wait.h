#pragma once
// Waiting for a connection to have something to read, so that a reader can block instead of
// polling in a loop.

#include "config/connection_record.h"

namespace gage {

// Blocks until the record's open port or socket has data waiting (or has hung up), or until
// milliseconds pass. Returns 1 when woken for data, 0 on time-out, -1 when the record has nothing
// that can be waited on (closed, or a port the platform cannot wait on); the caller then sleeps.
int ChannelWaitReadable(const ConnectionRecord& record, int milliseconds);

}  // namespace gage
