#include "entry/configuration_hooks.h"

#include "channels/tcp_channel.h"
#include "entry/engine_commands.h"
#include "reading/connection_opening.h"

namespace gage {

ConfigurationHooks MakeConfigurationHooks(Runtime& runtime) {
    ConfigurationHooks hooks;
    hooks.openConnection = [&runtime](WindowHandle window, int connectionIndex) {
        ReadContext context = EngineContext(runtime);
        return OpenGageConnection(context, window, connectionIndex);
    };
    hooks.startConnects = [&runtime] { TcpConnectAll(runtime.channels, runtime.connections); };
    hooks.sendGageInit = [&runtime](WindowHandle window, GageRecord& gage) {
        ReadContext context = EngineContext(runtime);
        SendGageInit(context, window, gage);
    };
    hooks.resolveHost = [](const char* host) { return TcpResolveHost(host); };
    return hooks;
}

}  // namespace gage
