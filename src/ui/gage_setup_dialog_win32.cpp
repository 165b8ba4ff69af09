// Stand-in until the Gaging Device Setup dialog is built: says so and edits nothing.

#include "ui/gage_setup_dialog.h"

#include <windows.h>

#include "ui/dialog_controls.h"
#include "ui/resources/resource.h"

namespace gage {

int EditGage(UiContext& context, WindowHandle owner, GageRecord& /*gage*/, int /*gageIndex*/) {
    MessageBoxFromStrings(context.engine.support, owner, IDS_DIALOG_NOT_AVAILABLE,
                          IDS_DIALOG_NOT_AVAILABLE_TITLE, MB_OK | MB_ICONINFORMATION);
    return 0;
}

}  // namespace gage
