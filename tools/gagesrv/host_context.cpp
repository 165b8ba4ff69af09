#include "gagesrv/host_context.h"

#include <filesystem>
#include <system_error>

#include "host/environment.h"

namespace gage::gagesrv {

namespace {

// The server appends file names straight to its directories, so each is given whole and ends
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

}  // namespace

bool ApplyDirectoryOptions(const HostContext& context, std::ostream& err) {
    return PointAt(host::kSharedDirVariable, context.sharedDir, err) &&
           PointAt(host::kLocalDirVariable, context.localDir, err);
}

}  // namespace gage::gagesrv
