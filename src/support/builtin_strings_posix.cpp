#include "support/builtin_strings.h"

namespace gage::builtin {

std::optional<std::string> LoadRawString(void*, unsigned id) {
    if (const auto text = FindTableString(id)) {
        return std::string(*text);
    }
    return std::nullopt;
}

// Without a window system there are no dialogs to translate or banners to decorate.
void TranslateDialog(WindowHandle) {}
void ApplyBannerLook(WindowHandle) {}

}  // namespace gage::builtin
