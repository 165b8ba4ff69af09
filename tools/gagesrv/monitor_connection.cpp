#include "gagesrv/monitor_connection.h"

#include <charconv>
#include <filesystem>
#include <system_error>

#include "channels/serial_channel.h"
#include "channels/tcp_channel.h"
#include "config/configuration_file.h"
#include "config/connection_text.h"
#include "entry/startup.h"
#include "gagesrv/terminal_message_boxes.h"
#include "host/environment.h"
#include "reading/text_compare.h"
#include "support/fixed_string.h"

namespace gage::gagesrv {

namespace {

constexpr std::string_view kKeyPrefix = "MUX_";

bool StartsWithIgnoreCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && EqualsIgnoreCase(text.substr(0, prefix.size()), prefix);
}

// The row index of a key "MUX_n" (0 to 63), or -1.
int KeyIndex(std::string_view name) {
    if (!StartsWithIgnoreCase(name, kKeyPrefix)) {
        return -1;
    }
    const std::string_view digits = name.substr(kKeyPrefix.size());
    int index = -1;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), index);
    if (digits.empty() || error != std::errc{} || end != digits.data() + digits.size() ||
        index < 0 || index >= kConnectionCount) {
        return -1;
    }
    return index;
}

}  // namespace

bool SettleMonitorSettings(const HostContext& context, Runtime& runtime, std::ostream& err) {
    if (!ApplyDirectoryOptions(context, err)) {
        return false;
    }
    SettleServerSettings(runtime.settings, SupportStartupQueries(runtime.support));
    runtime.support.SetLogPath(runtime.settings.LogPath);
    TcpStartup(runtime.channels);  // a failure is logged; TCP/IP connections then fail to open
    return true;
}

bool LoadMonitorConfiguration(Runtime& runtime, std::ostream& err) {
    ConfigurationHooks hooks;  // no openConnection, no sendGageInit: nothing is opened
    hooks.resolveHost = [](const char* host) { return TcpResolveHost(host); };
    const std::string& path = runtime.settings.ConfigurationPath;
    if (LoadConfiguration({runtime.gages, runtime.connections}, nullptr, path,
                          runtime.settings.DefinitionsPath, hooks) == 0) {
        err << "The gage configuration " << path
            << " could not be read (it is missing, or it is not a gage server configuration).\n";
        return false;
    }
    return true;
}

ConnectionRecord* FindConnection(ConnectionTable& connections, std::string_view name) {
    if (name.empty()) {
        return nullptr;
    }
    const std::string wanted(name);
    for (ConnectionRecord& connection : connections) {
        if (!connection.Name.empty() &&
            CompareTextIgnoreCase(connection.Name.c_str(), wanted.c_str()) == 0) {
            return &connection;
        }
    }
    const int index = KeyIndex(name);
    if (index >= 0 && !connections[static_cast<std::size_t>(index)].Name.empty()) {
        return &connections[static_cast<std::size_t>(index)];
    }
    return nullptr;
}

ConnectionRecord* FindConnectionOrExplain(Runtime& runtime, std::string_view name,
                                          std::ostream& err) {
    ConnectionRecord* const record = FindConnection(runtime.connections, name);
    if (record == nullptr) {
        err << "No connection \"" << name << "\" is configured in "
            << runtime.settings.ConfigurationPath << ".\n";
        const std::string list = ConfiguredConnectionList(runtime);
        err << (list.empty() ? "It configures no connections.\n"
                             : "Its connections (name or key):\n" + list);
    }
    return record;
}

std::unique_ptr<Runtime> StartDirectRuntime(const HostContext& context, std::ostream& err) {
    // The runtime's support answers message boxes from here on, before anything can raise one.
    auto runtime = std::make_unique<Runtime>();
    AnswerMessageBoxesInTerminal(*runtime, err);
    if (!SettleMonitorSettings(context, *runtime, err)) {
        return nullptr;
    }
    return runtime;
}

DirectRuntimeShutdown::~DirectRuntimeShutdown() {
    runtime.TearDown();
    TcpShutdown(runtime.channels, runtime.connections);
}

std::string ConnectionSummary(Runtime& runtime, const ConnectionRecord& connection) {
    std::string summary = DescribeConnection(runtime.support, connection);
    if (connection.Kind == KIND_SERIAL && connection.PortNumber >= 1 &&
        connection.PortNumber <= kMaxSerialPortNumber) {
        summary += " on " + SerialDeviceName(runtime.settings, connection.PortNumber);
    }
    return summary;
}

std::string ConfiguredConnectionList(Runtime& runtime) {
    std::string list;
    for (int index = 0; index < kConnectionCount; ++index) {
        const ConnectionRecord& connection = runtime.connections[static_cast<std::size_t>(index)];
        if (connection.Name.empty()) {
            continue;
        }
        list += "  " + std::string(kKeyPrefix) + std::to_string(index) + "  \"" +
                connection.Name.str() + "\"  (" + ConnectionSummary(runtime, connection) + ")\n";
    }
    return list;
}

}  // namespace gage::gagesrv
