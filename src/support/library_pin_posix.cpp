#include "support/library_pin.h"

#include <dlfcn.h>

namespace gage {

void KeepLibraryLoaded() {
    Dl_info info{};
    if (::dladdr(reinterpret_cast<void*>(&KeepLibraryLoaded), &info) == 0 ||
        info.dli_fname == nullptr) {
        return;
    }
    // The handle is kept on purpose: with RTLD_NODELETE no dlclose unmaps the library.
    ::dlopen(info.dli_fname, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
}

}  // namespace gage
