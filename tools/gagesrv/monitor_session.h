#pragma once
// The watching itself: polls one prepared connection, shows what arrives and sends what the user
// types, until told to stop.

#include <ostream>
#include <string>

#include "config/connection_record.h"
#include "entry/runtime.h"
#include "ui/forms/monitor_text.h"

namespace gage::gagesrv {

struct MonitorOptions {
    std::string connection;
    MonitorView view = MonitorView::Raw;
    bool appendCrLf = false;  // every line sent ends in "<13><10>"
    double seconds = 0.0;     // stop after this long; 0 = no limit
    long long bytes = 0;      // stop once this many bytes were received; 0 = no limit
};

// Watches record, already prepared, until Ctrl-C or a limit of options; then closes it. Received
// bytes go to out, notices to err. Returns the number of bytes received.
long long RunMonitorSession(Runtime& runtime, ConnectionRecord& record,
                            const MonitorOptions& options, std::ostream& out, std::ostream& err);

}  // namespace gage::gagesrv
