#include <windows.h>
#include <winsock2.h>

#include "support/native_handles.h"

namespace gage::detail {

void CloseNativePort(std::intptr_t handle) noexcept {
    ::CloseHandle(reinterpret_cast<HANDLE>(handle));
}
void CloseNativeSocket(std::intptr_t socket) noexcept {
    ::closesocket(static_cast<SOCKET>(socket));
}

}  // namespace gage::detail
