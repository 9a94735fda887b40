#pragma once
// The settings dialog "<Orvane>". It works on the Settings value and the store
// it is given, so that the host and tests each hand it their own.
#include "common/settings.h"
#include "dialog/win32_shell_open.h"

#include <windows.h>

#include <commdlg.h>

#include <functional>
#include <string>

namespace orvane::dialog {

struct DialogEnvironment {
  common::Settings* settings;  // edited in place; MusicFile in the system code page
  common::IniStore* store;
  std::function<std::string()> settingsFile;  // the settings file's name, UTF-8
  // Tells the user why a save or a file choice did not happen; the dialog stays open.
  std::function<void(HWND owner, const std::wstring& text)> report;
  // The platform's file-open dialog and shell; empty: GetOpenFileNameW and
  // ShellExecuteA. Tests put stand-ins here.
  std::function<BOOL(OPENFILENAMEW& request)> openFileDialog = {};
  ShellExecuteFunction shellExecute = {};
};

// Creates the dialog, runs its load handler and shows it; nullptr on failure.
// `env` must outlive the window.
HWND OpenSettingsDialog(HINSTANCE instance, DialogEnvironment* env);

// Serves messages until the dialog has closed.
void RunSettingsDialog(HWND dialog);

// The dialog's own keys (Tab and Shift+Tab move the focus in its order, Esc
// closes it as ｷｬﾝｾﾙ does); true when the message was used and must not be
// dispatched. Space and Enter reach the focused button, which presses itself.
bool HandleDialogKey(HWND dialog, const MSG& msg);

}  // namespace orvane::dialog
