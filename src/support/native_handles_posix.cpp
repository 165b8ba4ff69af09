#include "support/native_handles.h"

#include <unistd.h>

namespace gage::detail {

void CloseNativePort(std::intptr_t handle) noexcept {
    ::close(static_cast<int>(handle));
}
void CloseNativeSocket(std::intptr_t socket) noexcept {
    ::close(static_cast<int>(socket));
}

}  // namespace gage::detail
