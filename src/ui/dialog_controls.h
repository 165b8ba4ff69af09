#pragma once
// The few control wrappers every dialog needs: texts to and from std::string, list and combo
// items with their data, tabs, show/enable and message boxes from the string table.

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace gage {

class Support;

// Texts of controls (support/window_text.h has any window's).
std::string ControlText(HWND dialog, int id);
void SetControlText(HWND dialog, int id, std::string_view text);

// Edits: text added at the end, scrolled into view; the whole text selected.
void AppendEditText(HWND dialog, int id, std::string_view text);
void SelectAllEditText(HWND dialog, int id);

bool IsChecked(HWND dialog, int id);
void SetChecked(HWND dialog, int id, bool checked);
void EnableControl(HWND dialog, int id, bool enabled);

// ShowDlgControl: enables and shows the control when on is 1, disables and hides it otherwise.
// 1, or 0 when the dialog has no such control.
int ShowDlgControl(HWND dialog, int id, int on);

// List boxes. Positions are 0-based; -1 stands for none.
int ListAddItem(HWND dialog, int id, std::string_view text, LPARAM data);  // position or -1
int ListCount(HWND dialog, int id);
int ListSelection(HWND dialog, int id);
void ListSelect(HWND dialog, int id, int position);  // -1 clears the selection
void ListDeleteItem(HWND dialog, int id, int position);
void ListClear(HWND dialog, int id);
std::optional<LPARAM> ListItemData(HWND dialog, int id, int position);
std::string ListItemText(HWND dialog, int id, int position);
// The first position whose item data is data, or -1.
int ListFindData(HWND dialog, int id, LPARAM data);

// Combo boxes, the same way.
int ComboAddItem(HWND dialog, int id, std::string_view text, LPARAM data);
int ComboCount(HWND dialog, int id);
int ComboSelection(HWND dialog, int id);
void ComboSelect(HWND dialog, int id, int position);
void ComboClear(HWND dialog, int id);
std::optional<LPARAM> ComboItemData(HWND dialog, int id, int position);
// The selected item's data; none when nothing is selected.
std::optional<LPARAM> ComboSelectedData(HWND dialog, int id);

// SelectComboByData: -1 when the combo has no items; otherwise selects the first item whose data
// is value and returns its position, or returns -1 and keeps the selection when none has it.
// 65535 when the combo cannot be asked for its count.
int SelectComboByData(HWND dialog, int comboId, LPARAM value);

// The poll timer of the dialogs that read a gage: only while dialog is the active window, F1
// held down presses helpId, and a checked pollCheckId presses the hidden pollButtonId (posted,
// so that a read runs after the tick).
void PostPollTickPresses(HWND dialog, int helpId, int pollCheckId, int pollButtonId);

// Tab controls.
void TabInsert(HWND dialog, int id, int position, const std::string& text);
int TabSelection(HWND dialog, int id);  // -1 when none is selected
void TabSelect(HWND dialog, int id, int position);
// Keeps a tab control from painting over the shown controls that lie on it. They come after it in
// the tab order, which is also the stacking order, so they lie beneath it, where its
// WS_CLIPSIBLINGS does not reach: a repaint of the tab control after theirs would wipe them.
void KeepTabBeneathPages(HWND dialog, int id);

// MessageBoxFromStrings: text string textId (up to 255 characters; none loaded: nothing is
// shown and the result is 0) under title string titleId (up to 63; "Error" when it does not
// load), through GenMessageBox. Returns the button pressed (MB_RESULT_YES ...).
int MessageBoxFromStrings(Support& support, HWND owner, unsigned textId, unsigned titleId,
                          unsigned style);

}  // namespace gage
