#include "gagesrv/host_context.h"

#include <filesystem>
#include <system_error>

#include "gagesrv/wait_indicator.h"
#include "host/environment.h"
#include "host/executable_directory.h"

namespace gage::gagesrv {

namespace {

// The library appends file names straight to its directories, so each is given whole and ends
// in a separator.
bool PointAt(const char* variable, const std::string& dir, std::ostream& err) {
    if (dir.empty()) {
        return true;
    }
    std::error_code error;
    if (!std::filesystem::is_directory(dir, error)) {
        err << "The directory " << dir << " does not exist.\n";
        return false;
    }
    const std::filesystem::path full = std::filesystem::absolute(dir, error);
    host::SetEnvironmentValue(variable,
                              ((error ? std::filesystem::path(dir) : full) / "").string());
    return true;
}

// As a host finds it: beside the executable, else where this build put it.
std::string DefaultLibraryPath() {
    const std::string name = host::DefaultLibraryFileName();
    std::error_code error;
    const std::filesystem::path own = host::ExecutableDirectory();
    if (!own.empty() && std::filesystem::exists(own / name, error)) {
        return (own / name).string();
    }
    const std::filesystem::path built(GAGESRV_BUILT_LIBRARY);
    if (std::filesystem::exists(built, error)) {
        return built.string();
    }
    return name;
}

}  // namespace

bool ApplyDirectoryOptions(const HostContext& context, std::ostream& err) {
    return PointAt(host::kSharedDirVariable, context.sharedDir, err) &&
           PointAt(host::kLocalDirVariable, context.localDir, err);
}

std::optional<host::GageServerLibrary> LoadGageServer(const HostContext& context,
                                                      std::ostream& err) {
    if (!ApplyDirectoryOptions(context, err)) {
        return std::nullopt;
    }
    const std::string path =
        context.libraryPath.empty() ? DefaultLibraryPath() : context.libraryPath;
    // Loading opens every configured connection, which can take a while.
    std::optional<WaitIndicator> waiting;
    waiting.emplace("loading the gage server and opening its connections");
    host::GageServerLibrary library(path);
    waiting.reset();
    if (!library.IsLoaded()) {
        err << "The gage server library could not be loaded: " << library.Error() << "\n";
        if (context.libraryPath.empty()) {
            err << "Give its location with --library.\n";
        }
        return std::nullopt;
    }
    return library;
}

}  // namespace gage::gagesrv
