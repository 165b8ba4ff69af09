#include <dlfcn.h>

#include <string>

#include "support/host_bindings.h"

namespace gage::detail {

// RTLD_NOLOAD finds the library only when it is loaded already (matched by its name or soname)
// and takes a reference, released again when the bindings go.
void* FindLoadedHostLibrary(const char* name) {
    const std::string file = "lib" + std::string(name) + ".so";
    return ::dlopen(file.c_str(), RTLD_LAZY | RTLD_NOLOAD);
}

host::Address FindHostOperation(void* library, const HostOperationInfo& operation) {
    return reinterpret_cast<host::Address>(::dlsym(library, operation.name));
}

void ReleaseHostLibrary(void* library) noexcept {
    ::dlclose(library);
}

}  // namespace gage::detail
