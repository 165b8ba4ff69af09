#pragma once
// Built-in language operations: strings from this library's own string table with their
// translation keys taken away, and dialogs whose keyed texts are shown without the keys.

#include <optional>
#include <string>
#include <string_view>

#include "support/window_handle.h"

namespace gage::builtin {

// The text without its translation key: one or more leading digits followed by a vertical bar.
// A text without such a key comes back unchanged.
std::string_view StripTranslationKey(std::string_view text);

// The compiled-in entry for id, key included; none when the table has no such id.
std::optional<std::string_view> FindTableString(unsigned id);

// Platform part: the raw text (key included) of string id. Windows reads the string table of
// module (the running program when null) and falls back to the compiled-in table; elsewhere the
// compiled-in table is the string table.
std::optional<std::string> LoadRawString(void* module, unsigned id);

// LangLoadString: the text of id without its key, cut to bufferSize - 1 characters and
// zero-terminated. Returns the characters copied; 0 when there is no such string (the buffer
// then holds an empty text) or no room at all.
int LoadTranslatedString(void* module, unsigned id, char* buffer, int bufferSize);

// LangTranslateDialog: the caption and every child control text that begins with a key lose it.
// No-op where there are no dialogs.
void TranslateDialog(WindowHandle dialog);

// LangBanner: the banner control gets a bold version of its font. No-op without dialogs.
void ApplyBannerLook(WindowHandle banner);

}  // namespace gage::builtin
