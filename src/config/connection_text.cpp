#include "config/connection_text.h"

#include <cstdint>

#include "support/support.h"

namespace gage {
namespace {

// TCP/IP rows keep the address octets in the serial line-setting fields, shown as signed
// numbers the way the dialogs always showed them.
std::string Signed(std::uint32_t value) {
    return std::to_string(static_cast<std::int32_t>(value));
}

std::string_view ParityLetter(std::uint32_t parity) {
    switch (parity) {
        case 2:
            return "o";
        case 3:
            return "e";
        case 4:
            return "m";
        case 5:
            return "s";
        default:
            return "n";
    }
}

std::string_view StopBitsText(std::uint32_t stopBits) {
    switch (stopBits) {
        case 1:
            return "1";
        case 2:
            return "2";
        case 3:
            return "1.5";
        default:
            return "";
    }
}

}  // namespace

std::string DescribeConnection(const ConnectionRecord& connection, std::string_view undefinedText) {
    const std::string port = std::to_string(connection.PortNumber);
    if (connection.Kind == KIND_TCPIP) {
        if (!connection.HostName.empty()) {
            return connection.HostName.str() + ":" + port;
        }
        return Signed(connection.BaudRate) + "." + Signed(connection.DataBits) + "." +
               Signed(connection.StopBits) + "." + Signed(connection.Parity) + ":" + port;
    }
    if (connection.PortNumber < 1) {
        return std::string(undefinedText.substr(0, 31));
    }
    std::string text = "COM" + port + ":" + std::to_string(connection.BaudRate) + ",";
    text += ParityLetter(connection.Parity);
    text += "," + std::to_string(connection.DataBits) + ",";
    text += StopBitsText(connection.StopBits);
    return text;
}

std::string DescribeConnection(Support& support, const ConnectionRecord& connection) {
    if (connection.Kind != KIND_TCPIP && connection.PortNumber < 1) {
        return DescribeConnection(connection, support.LoadString(kUndefinedPortStringId));
    }
    return DescribeConnection(connection, std::string_view());
}

std::string NameAndDescription(Support& support, const ConnectionRecord& connection) {
    return connection.Name.str() + " (" + DescribeConnection(support, connection) + ")";
}

}  // namespace gage
