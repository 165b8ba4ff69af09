#include "gagesrv/check_paths.h"

#include "config/server_settings.h"
#include "entry/startup.h"
#include "support/support.h"

namespace gage::gagesrv {

std::optional<CheckedFiles> SettleCheckedFiles(const HostContext& context,
                                               const std::string& configurationOption,
                                               const std::string& definitionsOption,
                                               std::ostream& err) {
    CheckedFiles files{configurationOption, definitionsOption};
    if (!files.configuration.empty() && !files.definitions.empty()) {
        return files;
    }
    // Start-up's own path rules, with the directories given on the command line where the
    // library would take them from.
    if (!ApplyDirectoryOptions(context, err)) {
        return std::nullopt;
    }
    Support support;
    ServerSettings settings;
    SettleServerSettings(settings, SupportStartupQueries(support));
    if (files.configuration.empty()) {
        files.configuration = settings.ConfigurationPath;
    }
    if (files.definitions.empty()) {
        files.definitions = settings.DefinitionsPath;
    }
    return files;
}

}  // namespace gage::gagesrv
