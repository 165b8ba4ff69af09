#include <windows.h>

#include <string>

#include "support/host_bindings.h"

namespace gage::detail {

// The host's own reference keeps the module loaded; we take none, so a plain module handle.
void* FindLoadedHostLibrary(const char* name) {
    const std::string module = std::string(name) + ".dll";
    return ::GetModuleHandleA(module.c_str());
}

host::Address FindHostOperation(void* library, const HostOperationInfo& operation) {
    const FARPROC address = ::GetProcAddress(
        static_cast<HMODULE>(library), MAKEINTRESOURCEA(static_cast<WORD>(operation.ordinal)));
    return reinterpret_cast<host::Address>(address);
}

void ReleaseHostLibrary(void*) noexcept {}

}  // namespace gage::detail
