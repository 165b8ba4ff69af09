#include "support/builtin_help.h"

namespace gage::builtin {

// There is no viewer for the compiled help here; the request is logged instead.
bool OpenHelpTopic(void*, WindowHandle, int) {
    return false;
}

}  // namespace gage::builtin
