#include "config/system_settings.h"

#include <cmath>
#include <string>

#include "config/c_number_text.h"
#include "config/profile.h"

namespace gage {

std::uint16_t LimitWaitTime(int value) {
    const auto low16 = static_cast<std::uint16_t>(static_cast<std::uint32_t>(value) & 0xFFFFu);
    return low16 > kMaxWaitTime ? kMaxWaitTime : low16;
}

double LimitTcpConnectionTimeout(std::string_view text) {
    const double seconds = ReadCReal(text);
    if (std::isnan(seconds) || seconds < 0.0) {
        return 0.0;  // "nan" is no usable number of seconds
    }
    return seconds > kMaxTcpConnectionTimeout ? kMaxTcpConnectionTimeout : seconds;
}

void ReadSystemSettings(ServerSettings& settings) {
    const std::string& path = settings.SystemSettingsPath;
    settings.ComPrefix = profile::GetString(path, kSystemSettingsSection, "COM_PREFIX", "COM",
                                            decltype(settings.ComPrefix)::capacity());
    settings.WaitTime =
        LimitWaitTime(profile::GetInt(path, kSystemSettingsSection, "WAITTIME", 150));
    settings.TcpConnectionTimeout = LimitTcpConnectionTimeout(
        profile::GetString(path, kSystemSettingsSection, "TCPIP_CONNECTION_TIMEOUT", "3", 32));
    settings.UseSharedPath =
        profile::GetInt(path, kSystemSettingsSection, "USE_SHARED_PATH", 0) == 1;
    settings.PortMap = ReadSerialPortMap(path);
}

}  // namespace gage
