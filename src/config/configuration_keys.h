#pragma once
// The sections and keys of BRW_GAGE.CFG, shared by the loader, the saver and the checker that
// explains what the loader makes of a file.

#include <cstddef>
#include <string>
#include <string_view>

#include "support/application_names.h"

namespace gage {

inline constexpr std::string_view kApplicationSection = "APPLICATION";
inline constexpr std::string_view kInterfacesSection = "INTERFACES";
inline constexpr std::string_view kGagesSection = "GAGES";

// Room for one line. Larger than the 256 characters of a plain profile read, so that a TCP/IP
// line with a host name of full DNS length is read whole.
inline constexpr std::size_t kConfigurationLineRoom = 1024;

inline std::string MuxKey(int index) {
    return "MUX_" + std::to_string(index);
}
inline std::string GageKey(int number) {
    return "GAGE_" + std::to_string(number);
}

}  // namespace gage
