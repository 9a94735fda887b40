#pragma once
// What the dialog's tests look at in an open dialog; nothing else needs these.
#include <windows.h>

#include <string>

namespace orvane::dialog {

int SelectedIndicator(HWND dialog);  // -1 when none shows "selected"
POINT SavedCursor(HWND dialog);
std::wstring FileLabelText(HWND dialog);

}  // namespace orvane::dialog
