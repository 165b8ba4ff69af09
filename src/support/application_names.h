#pragma once
// Names of the application and the entry point: traced, logged, and stored as the configuration
// file's owner.

namespace gage {

inline constexpr const char* kApplicationName = "ZRNGSV32";
inline constexpr const char* kEntryPointName = "ZRNGSV_INTERFACE";

}  // namespace gage
