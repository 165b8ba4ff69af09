#pragma once
// The command set of the exported entry point and its dispatch.

#include <cstdint>

#include "entry/runtime.h"
#include "support/window_handle.h"

namespace gage {

enum GageServerCommand : int {
    GSV_CMD_ALIVE = 0,
    GSV_CMD_INIT_GAGES = 1,
    GSV_CMD_CONFIGURE = 3,
    GSV_CMD_GAGE_NAME = 4,
    GSV_CMD_GAGE_COUNT = 5,
    GSV_CMD_FILL_COMBO = 6,
    GSV_CMD_FILL_LIST = 7,
    GSV_CMD_READ = 8,
    GSV_CMD_GAGE_EXISTS = 9,
    GSV_CMD_INIT_PORTS = 10,
    GSV_CMD_READ_VALUE = 11,
    GSV_CMD_FLUSH_PORTS = 12,
    GSV_CMD_CLOSE_PORTS = 13,
    GSV_CMD_POLL = 14,
    GSV_CMD_GAGE_BAR = 15,
    GSV_CMD_SUBGROUP_START = 16,
    GSV_CMD_SUBGROUP_END = 17,
    GSV_CMD_IS_CONFIGURING = 18,
};

inline constexpr int kCommandCount = 19;
inline constexpr std::int32_t kInterfaceVersion = 1;
// High word of the command: a read with READ_OPT_CHANNEL_ONLY.
inline constexpr std::uint32_t GSV_FLAG_CHANNEL_ONLY = 1;

inline constexpr unsigned CB_ADDSTRING_MESSAGE = 0x143;
inline constexpr unsigned LB_ADDSTRING_MESSAGE = 0x180;

// Everything ZRNGSV_INTERFACE does, on the given runtime. argument is the host's pointer (or, for
// command 4, the index passed in its place).
std::intptr_t RunCommand(Runtime& runtime, WindowHandle window, std::int32_t version,
                         std::int32_t command, const char* argument);

}  // namespace gage
