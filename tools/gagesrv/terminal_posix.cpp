#include <unistd.h>

#include "gagesrv/wait_indicator.h"

namespace gage::gagesrv {

bool StandardErrorIsTerminal() {
    return ::isatty(STDERR_FILENO) == 1;
}

}  // namespace gage::gagesrv
