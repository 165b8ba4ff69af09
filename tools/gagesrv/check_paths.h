#pragma once
// Which BRW_GAGE.CFG and BRW_GAGE.DEF gagesrv check looks at: the files named on the command
// line, or else the ones the library would use, found as start-up finds them.

#include <optional>
#include <ostream>
#include <string>

#include "config/server_settings.h"
#include "gagesrv/host_context.h"

namespace gage::gagesrv {

struct CheckedFiles {
    std::string configuration;  // BRW_GAGE.CFG
    std::string definitions;    // BRW_GAGE.DEF
    ServerSettings settings;    // as start-up settles them (ZRN_SYS.INI with its port map)
};

// The settings and paths as start-up settles them, with the directories of the command line;
// nothing (after saying why on err) when a named directory does not exist.
std::optional<ServerSettings> SettleLibrarySettings(const HostContext& context, std::ostream& err);

// The files to check; nothing (after saying why on err) when a named directory does not exist.
std::optional<CheckedFiles> SettleCheckedFiles(const HostContext& context,
                                               const std::string& configurationOption,
                                               const std::string& definitionsOption,
                                               std::ostream& err);

}  // namespace gage::gagesrv
