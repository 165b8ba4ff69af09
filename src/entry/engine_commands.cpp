#include "entry/engine_commands.h"

#include <bit>
#include <cstring>
#include <string_view>

#include "reading/command_sender.h"
#include "reading/connection_opening.h"
#include "reading/read_cycle.h"

namespace gage {

namespace {

bool NameMatches(const GageRecord& gage, const char* name) {
    return name != nullptr && gage.IsNamed() && gage.Name.EqualsIgnoreCase(name);
}

// Whether a subgroup command may go out on the gage's connection now; makes sure the
// connection has its receive buffer.
bool ReadyForSubgroupCommand(const GageRecord& gage, ConnectionRecord& record) {
    if (gage.InterfaceTypeNumber == 0) {
        return false;
    }
    const bool usable = record.IsTcp() ? record.Socket.is_open()
                                       : record.PortHandle.is_open() || IsSimulatedGage(gage);
    if (!usable) {
        return false;
    }
    if (!record.HasReceiveBuffer()) {
        if (!AllocateReceiveBuffer(record, kReceiveBufferSize)) {
            return false;
        }
        EmptyReceiveBuffer(record);
    }
    return true;
}

void SendSubgroup(ReadContext& context, WindowHandle window, const GageRecord& gage, bool start) {
    const CommandText& command =
        start ? gage.Format.SubgroupStartCommand : gage.Format.SubgroupEndCommand;
    if (command.empty()) {
        return;
    }
    ConnectionRecord* const record = GageConnection(context, gage.ConnectionIndex);
    if (record == nullptr || !ReadyForSubgroupCommand(gage, *record)) {
        return;
    }
    // A simulated gage accepts the command with its port closed; it then goes nowhere.
    if (ConnectionIsOpen(*record)) {
        SendGageCommand(context, window, &gage, *record, command.view());
    }
    DelayMilliseconds(context, gage.Format.CommandDelay);
}

}  // namespace

ReadContext EngineContext(Runtime& runtime) {
    return ReadContext{runtime.channels, runtime.connections, runtime.settings, runtime.support,
                       SystemEngineClock()};
}

std::intptr_t InitGages(Runtime& runtime, WindowHandle window) {
    ReadContext context = EngineContext(runtime);
    for (const GageRecord& gage : runtime.gages) {
        if (gage.IsNamed()) {
            SendGageInit(context, window, gage);
        }
    }
    return 1;
}

std::intptr_t InitPorts(Runtime& runtime, WindowHandle window) {
    ReadContext context = EngineContext(runtime);
    if (OpenAllGageConnections(context, window) == 0) {
        return 0;
    }
    return InitGages(runtime, window);
}

std::intptr_t FlushPorts(Runtime& runtime, WindowHandle window) {
    for (ConnectionRecord& record : runtime.connections) {
        if (record.PortNumber > 0) {
            EmptyReceiveBuffer(record);
            ChannelPurge(runtime.channels, window, record, PURGE_ALL);
        }
    }
    return 1;
}

std::intptr_t ClosePorts(Runtime& runtime) {
    for (ConnectionRecord& record : runtime.connections) {
        ChannelClose(runtime.channels, record);
        EmptyReceiveBuffer(record);
    }
    return 1;
}

std::intptr_t ReadNamedGage(Runtime& runtime, WindowHandle window, const char* name,
                            unsigned options) {
    if (name == nullptr || ::strnlen(name, kNameSize) >= kNameSize) {
        return 0;
    }
    for (GageRecord& gage : runtime.gages) {
        if (!NameMatches(gage, name)) {
            continue;
        }
        runtime.readingResult = ReadingResult{};
        ReadContext context = EngineContext(runtime);
        ParseOutput output{runtime.readingResult};
        const int valid = ReadGage(context, window, gage, output, options);
        return valid ? reinterpret_cast<std::intptr_t>(&runtime.readingResult) : 0;
    }
    return 0;
}

std::intptr_t ReadNamedGageValue(Runtime& runtime, WindowHandle window, const char* name) {
    double value = std::bit_cast<double>(kNoValueBits);
    ReadContext context = EngineContext(runtime);
    for (GageRecord& gage : runtime.gages) {
        if (!NameMatches(gage, name)) {
            continue;
        }
        runtime.readingResult = ReadingResult{};
        ParseOutput output{runtime.readingResult};
        ReadGage(context, window, gage, output, 0);
        value = runtime.readingResult.Value;
    }
    runtime.readValue = value;
    return reinterpret_cast<std::intptr_t>(&runtime.readValue);
}

std::intptr_t SendSubgroupCommand(Runtime& runtime, WindowHandle window, const char* name,
                                  bool start) {
    ReadContext context = EngineContext(runtime);
    const bool everyGage = name == nullptr || *name == '\0';
    for (const GageRecord& gage : runtime.gages) {
        if (!gage.IsNamed()) {
            continue;
        }
        if (everyGage) {
            SendSubgroup(context, window, gage, start);
        } else if (NameMatches(gage, name)) {
            SendSubgroup(context, window, gage, start);
            break;
        }
    }
    return 1;
}

}  // namespace gage
