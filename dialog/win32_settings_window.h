#pragma once
// The settings dialog's window, with what it works on passed in, so that
// tests can drive it with their own settings and INI writer.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "dialog/music_choice.h"

namespace settings_dialog {

struct DialogEnvironment {
  int16_t* musicMode;
  int16_t* repeatTrack;
  std::string* musicFile;  // system code page
  std::function<std::string()> settingsFile;
  IniWriter write;
  // Tells the user why a save did not happen; the dialog stays open.
  std::function<void(HWND owner, const std::wstring& text)> report;
};

// Creates the dialog, runs its load handler and shows it; nullptr on failure.
// `env` must outlive the window.
HWND OpenSettingsDialog(HINSTANCE instance, DialogEnvironment* env);

// Serves messages until the dialog has closed.
void RunSettingsDialog(HWND dialog);

// The dialog's own keys (Tab and Shift+Tab move the focus in its order);
// true when the message was used and must not be dispatched.
bool HandleDialogKey(HWND dialog, const MSG& msg);

// What tests look at.
int SelectedIndicator(HWND dialog);  // -1 when none shows "selected"
POINT SavedCursor(HWND dialog);
std::wstring FileLabelText(HWND dialog);

}  // namespace settings_dialog
