#pragma once
// BRW_GAGE.CFG: the communication sources and the gages. Loading fills the ConnectionTable and
// the GageTable and, through the hooks, opens the connections and initialises the gages.

#include <cstdint>
#include <functional>
#include <string>

#include "config/connection_record.h"
#include "config/gage_record.h"
#include "support/window_handle.h"

namespace gage {

// What loading asks of the layers above the configuration store. An empty hook does nothing
// (resolveHost empty: dotted addresses only).
struct ConfigurationHooks {
    // Opens connection index 0..63 and sends its interface type's initialisation strings.
    std::function<int(WindowHandle window, int connectionIndex)> openConnection;
    // Runs once before the connections are opened in order: starts what can be started together
    // (the TCP/IP connects), so that openConnection finds those rows settled.
    std::function<void()> startConnects;
    // Sends a gage's initialisation command once it is in the table.
    std::function<void(WindowHandle window, GageRecord& gage)> sendGageInit;
    // Resolves a host name or dotted address; kInaddrNone on failure (network byte order).
    std::function<std::uint32_t(const char* host)> resolveHost;
};

struct ConfigurationTables {
    GageTable& gages;
    ConnectionTable& connections;
};

// Builds both tables from the file at path (definitionsPath: BRW_GAGE.DEF, for each gage's
// format). Returns 1 when the file was accepted, else 0 with the tables left as they were.
int LoadConfiguration(ConfigurationTables tables, WindowHandle window, const std::string& path,
                      const std::string& definitionsPath, const ConfigurationHooks& hooks);

// Writes both tables to the file at path in one replacement, keeping the previous file as
// path + ".bak". Returns 1 when written, 0 for an empty path or when the file could not be
// written (it is then unchanged).
int SaveConfiguration(const GageTable& gages, const ConnectionTable& connections,
                      const std::string& path);

}  // namespace gage
