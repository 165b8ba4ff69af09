#include "support/library_pin.h"

#include <windows.h>

namespace gage {

void KeepLibraryLoaded() {
    HMODULE module = nullptr;
    // The module that holds this function: the DLL, or the program when linked statically.
    ::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                         reinterpret_cast<LPCSTR>(&KeepLibraryLoaded), &module);
}

}  // namespace gage
