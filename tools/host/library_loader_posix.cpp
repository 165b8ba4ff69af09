#include <dlfcn.h>

#include "host/library_loader.h"

namespace gage::host {

bool PlatformHasExportOrdinals() {
    return false;
}

namespace detail {

void* OpenLibrary(const std::string& path, std::string& error) {
    // RTLD_LOCAL keeps the library's symbols out of the host's namespace, as a plug-in's should be.
    void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* reason = ::dlerror();
        error = "cannot load " + path + ": " + (reason ? reason : "unknown error");
    }
    return handle;
}

void CloseLibrary(void* handle) {
    if (handle != nullptr) {
        ::dlclose(handle);
    }
}

GenericProc FindByName(void* handle, const char* name) {
    return reinterpret_cast<GenericProc>(::dlsym(handle, name));
}

// Shared objects have no export ordinals.
GenericProc FindByOrdinal(void*, int) {
    return nullptr;
}

}  // namespace detail

}  // namespace gage::host
