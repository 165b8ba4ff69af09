#include "gagesrv/check_paths.h"

#include "config/server_settings.h"
#include "entry/startup.h"
#include "support/support.h"

namespace gage::gagesrv {

std::optional<ServerSettings> SettleLibrarySettings(const HostContext& context, std::ostream& err) {
    // Start-up's own path rules, with the directories given on the command line where the
    // library would take them from.
    if (!ApplyDirectoryOptions(context, err)) {
        return std::nullopt;
    }
    Support support;
    ServerSettings settings;
    SettleServerSettings(settings, SupportStartupQueries(support));
    return settings;
}

std::optional<CheckedFiles> SettleCheckedFiles(const HostContext& context,
                                               const std::string& configurationOption,
                                               const std::string& definitionsOption,
                                               std::ostream& err) {
    // ZRN_SYS.INI is wanted for its port map even when both files are named.
    std::optional<ServerSettings> settings = SettleLibrarySettings(context, err);
    if (!settings) {
        return std::nullopt;
    }
    CheckedFiles files{configurationOption, definitionsOption, std::move(*settings)};
    if (files.configuration.empty()) {
        files.configuration = files.settings.ConfigurationPath;
    }
    if (files.definitions.empty()) {
        files.definitions = files.settings.DefinitionsPath;
    }
    return files;
}

}  // namespace gage::gagesrv
