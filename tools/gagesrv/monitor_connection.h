#pragma once
// Finding the connection gagesrv monitor is to watch: the server's directories and settings are
// settled as the library settles them when it loads, and BRW_GAGE.CFG's connections are read
// without opening any of them and without initialising a gage.

#include <memory>
#include <ostream>
#include <string>
#include <string_view>

#include "entry/runtime.h"
#include "gagesrv/host_context.h"

namespace gage::gagesrv {

// Applies --shared-dir and --local-dir, settles the paths and settings into runtime.settings and
// starts sockets. False (with the reason on err) when a directory given does not exist.
bool SettleMonitorSettings(const HostContext& context, Runtime& runtime, std::ostream& err);

// Loads the connections (and gages) of the configuration file into runtime. False (with the
// reason on err) when the file is missing or is not a gage configuration.
bool LoadMonitorConfiguration(Runtime& runtime, std::ostream& err);

// "COM3:9600,n,8,1 on /dev/ttyS2" or "192.168.0.7:4001": what is being watched, for messages.
std::string ConnectionSummary(Runtime& runtime, const ConnectionRecord& connection);

// The connection called name (or keyed so), or null after telling err that the configuration
// has none and which it has.
ConnectionRecord* FindConnectionOrExplain(Runtime& runtime, std::string_view name,
                                          std::ostream& err);

// A runtime for a command that drives connections itself: message boxes answered on err, the
// directories and settings settled. Null (with the reason on err) when a directory is missing.
std::unique_ptr<Runtime> StartDirectRuntime(const HostContext& context, std::ostream& err);

// As the library unloads: every connection closed, then sockets stopped.
struct DirectRuntimeShutdown {
    Runtime& runtime;
    ~DirectRuntimeShutdown();
};

// The configured connections, one "  MUX_n  name  (summary)" line each, for when a name is not
// found.
std::string ConfiguredConnectionList(Runtime& runtime);

}  // namespace gage::gagesrv
