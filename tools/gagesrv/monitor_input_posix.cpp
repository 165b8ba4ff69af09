#include <unistd.h>

#include <cerrno>

#include "gagesrv/monitor_input.h"

namespace gage::gagesrv {

// Straight from the descriptor: a thread blocked in the C library's stdin could keep the
// library's stream lock while the process exits.
int ReadStandardInput(char* buffer, int size) {
    for (;;) {
        const ssize_t count = ::read(STDIN_FILENO, buffer, static_cast<std::size_t>(size));
        if (count >= 0) {
            return static_cast<int>(count);
        }
        if (errno != EINTR) {
            return -1;
        }
    }
}

}  // namespace gage::gagesrv
