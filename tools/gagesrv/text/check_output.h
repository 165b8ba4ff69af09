#pragma once
// What gagesrv check prints: a heading, one line per finding naming file, section, key and line,
// and a summary; and the findings about mapped serial devices that are not there.

#include <string>

#include "config/configuration_findings.h"
#include "config/server_settings.h"
#include "gagesrv/text/ports_listing.h"

namespace gage::gagesrv {

// "FILE [SECTION] KEY (line N): skipped: REASON", leaving out what the finding does not name.
std::string FindingLine(const ConfigurationFinding& finding);

// The whole report on check: the files checked, every finding, then how much would load.
std::string CheckReport(const std::string& configuration, const std::string& definitions,
                        const ConfigurationCheck& check);

// A warning on ZRN_SYS.INI for every port of [GAGESERVER PORTS] whose device is not there.
void AddMissingDeviceFindings(ConfigurationCheck& check, const ServerSettings& settings,
                              const DeviceExistsCheck& exists);

}  // namespace gage::gagesrv
