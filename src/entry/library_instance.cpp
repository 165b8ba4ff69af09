#include "entry/library_instance.h"

#include <cstdint>
#include <optional>

#include "entry/commands.h"
#include "entry/gage_server_api.h"
#include "entry/startup.h"

namespace gage {

namespace {
std::optional<Runtime> g_runtime;  // the library's only mutable global
}  // namespace

void StartLibrary(void* module) {
    if (g_runtime) {
        return;
    }
    g_runtime.emplace(module);
    StartUp(*g_runtime, module);
}

void StopLibrary() {
    if (!g_runtime) {
        return;
    }
    ShutDown(*g_runtime);
    g_runtime.reset();
}

Runtime* LibraryRuntime() {
    return g_runtime ? &*g_runtime : nullptr;
}

}  // namespace gage

extern "C" GAGE_EXPORT std::intptr_t GAGE_STDCALL ZRNGSV_INTERFACE(HWND__* window,
                                                                   std::int32_t version,
                                                                   std::int32_t command,
                                                                   const char* argument) {
    gage::Runtime* runtime = gage::LibraryRuntime();
    if (runtime == nullptr) {
        return 0;
    }
    return gage::RunCommand(*runtime, window, version, command, argument);
}
