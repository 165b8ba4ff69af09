#include "gagesrv/check_paths.h"

#include <filesystem>
#include <system_error>

#include "config/server_settings.h"
#include "entry/startup.h"
#include "support/builtin_paths.h"
#include "support/fixed_string.h"
#include "support/support.h"

namespace gage::gagesrv {

namespace {

// A directory given with --shared-dir or --local-dir, whole and ending in a separator, as the
// library is given it; empty when none was given.
std::optional<std::string> GivenDirectory(const std::string& dir, std::ostream& err) {
    if (dir.empty()) {
        return std::string();
    }
    std::error_code error;
    if (!std::filesystem::is_directory(dir, error)) {
        err << "The directory " << dir << " does not exist.\n";
        return std::nullopt;
    }
    const std::filesystem::path full = std::filesystem::absolute(dir, error);
    return builtin::WithTrailingSeparator(error ? dir : full.string());
}

}  // namespace

std::optional<CheckedFiles> SettleCheckedFiles(const HostContext& context,
                                               const std::string& configurationOption,
                                               const std::string& definitionsOption,
                                               std::ostream& err) {
    CheckedFiles files{configurationOption, definitionsOption};
    if (!files.configuration.empty() && !files.definitions.empty()) {
        return files;
    }
    const std::optional<std::string> shared = GivenDirectory(context.sharedDir, err);
    const std::optional<std::string> local = GivenDirectory(context.localDir, err);
    if (!shared || !local) {
        return std::nullopt;
    }
    // Start-up's own path rules, with the directories given on the command line standing in
    // for the ones the utility library would name.
    Support support;
    StartupQueries queries = SupportStartupQueries(support);
    queries.getPath = [&support, &shared, &local](const char* location, char* buffer,
                                                  int bufferSize) {
        const std::string& given = EqualsIgnoreCase(location, "SHARED")  ? *shared
                                   : EqualsIgnoreCase(location, "LOCAL") ? *local
                                                                         : std::string();
        if (given.empty()) {
            support.UtilGetPath(0, location, buffer, bufferSize);
        } else {
            CopyTruncated(buffer, static_cast<std::size_t>(bufferSize), given);
        }
    };
    ServerSettings settings;
    SettleServerSettings(settings, queries);
    if (files.configuration.empty()) {
        files.configuration = settings.ConfigurationPath;
    }
    if (files.definitions.empty()) {
        files.definitions = settings.DefinitionsPath;
    }
    return files;
}

}  // namespace gage::gagesrv
