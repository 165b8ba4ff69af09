#include "gagesrv/monitor_connection.h"

#include <filesystem>
#include <system_error>

#include "channels/serial_channel.h"
#include "channels/tcp_channel.h"
#include "config/configuration_file.h"
#include "config/connection_text.h"
#include "entry/startup.h"
#include "gagesrv/terminal_message_boxes.h"
#include "gagesrv/text/connection_lookup.h"
#include "host/environment.h"
#include "support/fixed_string.h"

namespace gage::gagesrv {

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
        list += "  MUX_" + std::to_string(index) + "  \"" + connection.Name.str() + "\"  (" +
                ConnectionSummary(runtime, connection) + ")\n";
    }
    return list;
}

}  // namespace gage::gagesrv
