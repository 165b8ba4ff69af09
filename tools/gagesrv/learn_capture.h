#pragma once
// What gagesrv learn listens to: the connection it opens (configured, or a device named on the
// command line), the traffic collected from it while the requests are sent again and again, and
// for a serial port whose traffic makes no records the search for line settings that do.

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "config/connection_record.h"
#include "entry/runtime.h"
#include "gagesrv/learn/format_learner.h"
#include "gagesrv/learn/line_settings.h"

namespace gage::gagesrv {

struct CaptureRequest {
    double seconds = 5.0;
    std::vector<std::string> sends;  // command texts with tokens, sent in turn
};

struct LearnedTraffic {
    learn::LearnOutcome outcome;
    std::optional<learn::LineSetting> lineFound;  // serial: the settings that gave the records
    bool searched = false;                        // other line settings were tried
};

// Collects traffic from record (prepared) for request.seconds and learns from it; when a serial
// port gives no clean records, tries the other common line settings for a shorter while each
// and keeps the first that gives them (leaving them applied to record).
LearnedTraffic CaptureAndLearn(Runtime& runtime, ConnectionRecord& record,
                               const CaptureRequest& request, std::ostream& err);

}  // namespace gage::gagesrv
