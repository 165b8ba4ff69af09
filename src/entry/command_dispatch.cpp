#include <cstdint>
#include <string>
#include <string_view>

#include "entry/commands.h"
#include "entry/configuration_reload.h"
#include "entry/engine_commands.h"
#include "entry/host_window.h"
#include "reading/reading_result.h"

namespace gage {

namespace {

// The nth named gage in table order (free rows are not counted), or null.
const GageRecord* NthNamedGage(const GageTable& gages, std::intptr_t index) {
    if (index < 0) {
        return nullptr;
    }
    std::intptr_t seen = 0;
    for (const GageRecord& gage : gages) {
        if (!gage.IsNamed()) {
            continue;
        }
        if (seen == index) {
            return &gage;
        }
        ++seen;
    }
    return nullptr;
}

std::intptr_t CountNamedGages(const GageTable& gages) {
    std::intptr_t count = 0;
    for (const GageRecord& gage : gages) {
        if (gage.IsNamed()) {
            ++count;
        }
    }
    return count;
}

bool GageExists(const GageTable& gages, const char* name) {
    if (name == nullptr || *name == '\0') {
        return false;
    }
    const std::string_view wanted(name);
    for (const GageRecord& gage : gages) {
        if (gage.IsNamed() && gage.Name.EqualsIgnoreCase(wanted)) {
            return true;
        }
    }
    return false;
}

std::intptr_t FillControl(Runtime& runtime, WindowHandle window, unsigned message) {
    std::intptr_t added = 0;
    for (const GageRecord& gage : runtime.gages) {
        if (gage.IsNamed() && SendAddString(window, message, gage.Name.c_str())) {
            ++added;
        }
    }
    return added;
}

std::intptr_t ReportNoDialogs(Runtime& runtime, int command) {
    const std::string text =
        "Command " + std::to_string(command) + ": dialogs are available only in the Windows build";
    runtime.support.UtilLogError(runtime.settings.LogPath.c_str(), kApplicationName, text.c_str());
    return 0;
}

// The integer a host passes in the pointer's place (command 4): the low 32 bits, signed.
std::intptr_t ArgumentAsIndex(const char* argument) {
    const auto raw = reinterpret_cast<std::uintptr_t>(argument);
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(raw & 0xFFFFFFFFu));
}

}  // namespace

std::intptr_t RunCommand(Runtime& runtime, WindowHandle window, std::int32_t version,
                         std::int32_t command, const char* argument) {
    runtime.support.UtilTraceEntry(kApplicationName, kEntryPointName);
    if (version != kInterfaceVersion) {
        return 0;
    }
    const auto bits = static_cast<std::uint32_t>(command);
    const int code = static_cast<int>(bits & 0xFFFFu);
    const bool channelOnly = (bits >> 16) == GSV_FLAG_CHANNEL_ONLY;
    const unsigned readOptions = channelOnly ? READ_OPT_CHANNEL_ONLY : 0u;

    switch (code) {
        case GSV_CMD_ALIVE:
            return 1;
        case GSV_CMD_INIT_GAGES:
            return InitGages(runtime, window);
        case GSV_CMD_CONFIGURE:
            if (IsLiveWindow(runtime.configDialog)) {
                BringToForeground(runtime.configDialog);
                return 1;
            }
            if (!DialogsAvailable()) {
                return ReportNoDialogs(runtime, code);
            }
            // The dialog saves BRW_GAGE.CFG as it closes; the tables are rebuilt from the file.
            RunConfigurationDialog(runtime, window);
            ReloadConfiguration(runtime, window);
            return 1;
        case GSV_CMD_GAGE_NAME: {
            const GageRecord* gage = NthNamedGage(runtime.gages, ArgumentAsIndex(argument));
            return gage ? reinterpret_cast<std::intptr_t>(gage->Name.c_str()) : 0;
        }
        case GSV_CMD_GAGE_COUNT:
            return CountNamedGages(runtime.gages);
        case GSV_CMD_FILL_COMBO:
            if (!DialogsAvailable()) {
                return ReportNoDialogs(runtime, code);
            }
            return FillControl(runtime, window, CB_ADDSTRING_MESSAGE);
        case GSV_CMD_FILL_LIST:
            if (!DialogsAvailable()) {
                return ReportNoDialogs(runtime, code);
            }
            return FillControl(runtime, window, LB_ADDSTRING_MESSAGE);
        case GSV_CMD_READ:
            return ReadNamedGage(runtime, window, argument, readOptions);
        case GSV_CMD_GAGE_EXISTS:
            return GageExists(runtime.gages, argument) ? 1 : 0;
        case GSV_CMD_INIT_PORTS:
            return InitPorts(runtime, window);
        case GSV_CMD_READ_VALUE:
            return ReadNamedGageValue(runtime, window, argument);
        case GSV_CMD_FLUSH_PORTS:
            return FlushPorts(runtime, window);
        case GSV_CMD_CLOSE_PORTS:
            return ClosePorts(runtime);
        case GSV_CMD_POLL:
            return ReadNamedGage(runtime, window, argument, readOptions | READ_OPT_POLL);
        case GSV_CMD_GAGE_BAR:
            if (!DialogsAvailable()) {
                return ReportNoDialogs(runtime, code);
            }
            RunGageBarColumns(runtime, window);
            return 1;
        case GSV_CMD_SUBGROUP_START:
            return SendSubgroupCommand(runtime, window, argument, true);
        case GSV_CMD_SUBGROUP_END:
            return SendSubgroupCommand(runtime, window, argument, false);
        case GSV_CMD_IS_CONFIGURING:
            return IsLiveWindow(runtime.configDialog) ? 1 : 0;
        default:
            return 0;  // 2, and every low word of 19 or more
    }
}

}  // namespace gage
