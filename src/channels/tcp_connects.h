#pragma once
// Connecting several TCP/IP records at once: every connect is started without blocking and one
// wait covers them all, so that unreachable converters cost one time-out together, not one each.

#include <span>
#include <vector>

#include "config/connection_record.h"

namespace gage {

// Connects the records' sockets (already created) together, each within timeoutSeconds (0 or
// less: no limit of ours, the system's own connect time-out). Each result is 0 when its record
// is connected (the socket back in blocking mode) or the Windows Sockets code of its failure
// (the socket is left open for the caller to close). Nothing is logged here.
std::vector<int> ConnectTogether(std::span<ConnectionRecord* const> records, double timeoutSeconds);

}  // namespace gage
