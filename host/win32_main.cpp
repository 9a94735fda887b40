// Orvane.scr: the host that Windows starts in one of the screensaver roles.
#include "common/names.h"
#include "common/win32_file_names.h"
#include "common/win32_ini_store.h"
#include "dialog/win32_settings_dialog.h"
#include "host/entry.h"
#include "host/win32_command_line.h"
#include "host/win32_paths.h"
#include "host/win32_preview_window.h"
#include "host/win32_saver_window.h"

#include <windows.h>

#include <cstdint>
#include <string>

namespace orvane::host {
namespace {

using common::LoadSettings;
using common::Settings;
using common::Win32IniStore;

// The host's one way to speak to its user, for itself and for the settings
// dialog it opens: a message box under the program's caption.
void SayToUser(HWND owner, const wchar_t* text, UINT icon) {
  MessageBoxW(owner, text, common::kMessageCaptionW.Chars(), MB_OK | icon);
}

class Win32EntryPort : public EntryPort {
 public:
  explicit Win32EntryPort(HINSTANCE instance) : instance_(instance) {}

  bool WindowExists(std::string_view title) override {
    return FindWindowA(nullptr, std::string(title).c_str()) != nullptr;
  }
  bool ShowPreview(std::uint32_t parentHandle) override {
    // Handles are 32-bit values, sign-extended on 64-bit Windows.
    HWND parent =
        reinterpret_cast<HWND>(static_cast<std::intptr_t>(static_cast<std::int32_t>(parentHandle)));
    return ShowPreviewWindow(instance_, parent);
  }
  Settings ReadSettings() override { return LoadSettings(store_, HostSettingsPath()); }
  bool EngineFileExists() override { return common::FileOpensForReading(EngineFilePath()); }
  void ShowMissingEngineMessage() override {
    SayToUser(nullptr, L"Orvane.dll が Orvane.scr と同じﾌｫﾙﾀﾞに見つかりません！", 0);
  }
  void ShowSettingsDialog(Settings& settings) override {
    dialog::DialogEnvironment env{&settings, &store_, [] { return HostSettingsPath(); },
                                  [](HWND owner, const std::wstring& text) {
                                    SayToUser(owner, text.c_str(), MB_ICONEXCLAMATION);
                                  }};
    if (HWND dialog = dialog::OpenSettingsDialog(instance_, &env))
      dialog::RunSettingsDialog(dialog);
  }
  void HideCursor() override { ShowCursor(FALSE); }
  bool StartShow(const Settings& settings, ShowRole role) override {
    return LoadSaverWindow(instance_, settings, role);
  }

 private:
  HINSTANCE instance_;
  Win32IniStore store_;
};

}  // namespace
}  // namespace orvane::host

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  using orvane::host::EntryResult;
  using orvane::host::RunEntry;
  using orvane::host::ThisProgramsArgumentText;
  using orvane::host::Win32EntryPort;
  Win32EntryPort port(instance);
  if (RunEntry(ThisProgramsArgumentText(), port) == EntryResult::EndNow) ExitProcess(0);
  // The loaded window ends the program itself; WM_QUIT comes from the preview.
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  ExitProcess(0);
}
