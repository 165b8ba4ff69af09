#include <windows.h>

#include "gagesrv/monitor_input.h"

namespace gage::gagesrv {

// Straight from the handle: a thread blocked in the C library's stdin could keep the library's
// stream lock while the process exits. A closed pipe is the end of input.
int ReadStandardInput(char* buffer, int size) {
    const HANDLE input = ::GetStdHandle(STD_INPUT_HANDLE);
    if (input == nullptr || input == INVALID_HANDLE_VALUE) {
        return -1;
    }
    DWORD count = 0;
    if (!::ReadFile(input, buffer, static_cast<DWORD>(size), &count, nullptr)) {
        return ::GetLastError() == ERROR_BROKEN_PIPE ? 0 : -1;
    }
    return static_cast<int>(count);
}

}  // namespace gage::gagesrv
