#pragma once
// The Interface Configuration dialog: one interface type's description and initialisation
// strings, written to BRW_GAGE.DEF on OK.

#include <string>

#include "support/support.h"
#include "support/window_handle.h"

namespace gage {

// Edits type (kNewInterfaceType for a new one). After OK the description saved is also put in
// savedDescription. The type number saved, or 0 after Cancel.
int OpenInterfaceConfig(Support& support, const std::string& definitionsPath, WindowHandle owner,
                        int type, std::string& savedDescription);

}  // namespace gage
