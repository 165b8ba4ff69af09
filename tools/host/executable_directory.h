#pragma once
// Where the running program lives: hosts look for the library beside themselves.

#include <filesystem>

namespace gage::host {

// The directory of the running executable; empty when the system cannot tell.
std::filesystem::path ExecutableDirectory();

}  // namespace gage::host
