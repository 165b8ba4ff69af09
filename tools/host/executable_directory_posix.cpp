#include <filesystem>
#include <system_error>

#include "host/executable_directory.h"

namespace gage::host {

std::filesystem::path ExecutableDirectory() {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : self.parent_path();
}

}  // namespace gage::host
