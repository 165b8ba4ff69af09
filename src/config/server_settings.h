#pragma once
// The server settings and file paths settled when the library loads, fixed until it unloads.

#include <cstdint>
#include <string>

#include "config/serial_port_map.h"
#include "support/fixed_string.h"

namespace gage {

struct ServerSettings {
    std::string SharedDirectory;     // ends in the path separator
    std::string LocalDirectory;      // ends in the path separator
    std::string SystemSettingsPath;  // ZRN_SYS.INI
    std::string DefinitionsPath;     // BRW_GAGE.DEF
    std::string ConfigurationPath;   // BRW_GAGE.CFG, local or shared form
    std::string LogPath;             // ZRNGSV32.LOG

    FixedString<16> ComPrefix{"COM"};   // serial device name prefix
    SerialPortMap PortMap;              // [GAGESERVER PORTS]: devices of mapped ports
    std::uint16_t WaitTime = 150;       // milliseconds, at most 10000
    double TcpConnectionTimeout = 3.0;  // seconds, 0 to 30
    bool UseSharedPath = false;         // USE_SHARED_PATH is 1
    std::string SavedLocaleName = "C";
    char DecimalSeparator = '.';  // the user's, for numbers from gages
};

}  // namespace gage
