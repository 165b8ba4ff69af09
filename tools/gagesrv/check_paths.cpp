#include "gagesrv/check_paths.h"

#include "config/server_settings.h"
#include "entry/startup.h"
#include "support/support.h"

namespace gage::gagesrv {

std::optional<CheckedFiles> SettleCheckedFiles(const HostContext& context,
                                               const std::string& configurationOption,
                                               const std::string& definitionsOption,
                                               std::ostream& err) {
    CheckedFiles files{configurationOption, definitionsOption, {}};
    // Start-up's own path rules, with the directories given on the command line where the
    // library would take them from; ZRN_SYS.INI is wanted for its port map in any case.
    if (!ApplyDirectoryOptions(context, err)) {
        return std::nullopt;
    }
    Support support;
    SettleServerSettings(files.settings, SupportStartupQueries(support));
    if (files.configuration.empty()) {
        files.configuration = files.settings.ConfigurationPath;
    }
    if (files.definitions.empty()) {
        files.definitions = files.settings.DefinitionsPath;
    }
    return files;
}

}  // namespace gage::gagesrv
