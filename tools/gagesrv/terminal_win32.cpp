#include <io.h>

#include <cstdio>

#include "gagesrv/wait_indicator.h"

namespace gage::gagesrv {

bool StandardErrorIsTerminal() {
    return ::_isatty(::_fileno(stderr)) != 0;
}

}  // namespace gage::gagesrv
