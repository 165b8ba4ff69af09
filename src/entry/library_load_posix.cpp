// Start-up and shutdown follow the shared library's load and unload.

#include "entry/library_instance.h"

namespace {

__attribute__((constructor)) void OnLibraryLoad() {
    gage::StartLibrary(nullptr);
}
__attribute__((destructor)) void OnLibraryUnload() {
    gage::StopLibrary();
}

}  // namespace
