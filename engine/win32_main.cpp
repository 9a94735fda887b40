// Orvane.dll: the visual engine, a windowed program despite its extension.
// One full-screen topmost window; frames are drawn whenever the queue is empty.
#include "engine/render.h"
#include "engine/shell_rules.h"
#include "engine/wgl_surface.h"
#include "engine/win32_clock.h"
#include "engine/win32_shell_window.h"
#include "common/names.h"

#include <windows.h>

#include <memory>

namespace orvane::engine {
namespace {

// The 9x family keeps its screen-saver password behind PASSWORD.CPL; everywhere
// else there is nothing to ask and the close goes ahead.
bool VerifyScreenSaverPassword(HWND window) {
  OSVERSIONINFOA version = {};
  version.dwOSVersionInfoSize = sizeof version;
  static_assert(sizeof version == 148, "the size the 9x family expects");
  GetVersionExA(&version);
  if (version.dwPlatformId != VER_PLATFORM_WIN32_WINDOWS) return true;

  HMODULE library = LoadLibraryA("PASSWORD.CPL");
  if (!library) return true;
  using Verify = BOOL(WINAPI*)(HWND);
  const auto verify = reinterpret_cast<Verify>(
      reinterpret_cast<void (*)()>(GetProcAddress(library, "VerifyScreenSavePwd")));
  if (!verify) {
    FreeLibrary(library);
    return true;
  }
  // Tells the system a saver runs, so its prompt blocks task switching meanwhile.
  UINT scratch = 0;
  SystemParametersInfoA(SPI_SCREENSAVERRUNNING, TRUE, &scratch, 0);
  const BOOL accepted = verify(window);
  SystemParametersInfoA(SPI_SCREENSAVERRUNNING, FALSE, &scratch, 0);
  FreeLibrary(library);
  return accepted != FALSE;
}

// Everything one run of the engine owns: the rules, the window, its picture.
class Win32Show final : public ShellPlatform {
 public:
  ShellRules& Rules() { return rules_; }
  ShellWindowContext* PrimaryContext() { return &primaryContext_; }

  ScreenPoint CursorPosition() override {
    POINT p = {};
    GetCursorPos(&p);
    return {p.x, p.y};
  }
  void HideCursor() override { SetCursor(nullptr); }
  void SetRunTitle() override { SetWindowTextA(primary_, names::kEngineWindowTitle); }
  void LowerThreadPriority() override {
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_LOWEST);
  }
  void SetUpRendering(ShowWindowId) override {
    surface_ = std::make_unique<WglSurface>(primary_);
    rendering_ = ::setUpRendering(*surface_, clock_);
  }
  void TearDownRendering(ShowWindowId) override {
    if (rendering_) ::tearDownRendering(*rendering_);
    rendering_.reset();
    surface_.reset();
  }
  void PostQuit() override { PostQuitMessage(0); }
  void PostClose() override { PostMessageA(primary_, WM_CLOSE, 0, 0); }
  bool VerifyPassword() override { return VerifyScreenSaverPassword(primary_); }

  void DrawFrame() {
    if (rules_.FrameDue() && rendering_) frameStep(*rendering_);
  }

 private:
  ShellRules rules_{*this};
  ShellWindowContext primaryContext_{&rules_, kPrimaryWindow};
  HWND& primary_ = primaryContext_.window;
  Win32Clock clock_;
  std::unique_ptr<WglSurface> surface_;
  std::unique_ptr<Rendering> rendering_;
};

// Serves every waiting message first and draws only when the queue is empty.
int RunMessageLoop(Win32Show& show) {
  MSG message;
  for (;;) {
    while (!PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE)) {
      show.DrawFrame();
      Sleep(0);
    }
    const BOOL got = GetMessageA(&message, nullptr, 0, 0);
    if (got == 0) return static_cast<int>(message.wParam);
    if (got == -1) return 1;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

int RunSaverWindow(HINSTANCE instance) {
  // A saver still being created owns the screen.
  if (HWND other = FindStartingSaver()) {
    SetForegroundWindow(other);
    return 0;
  }
  if (!RegisterShellWindowClass(instance)) return 1;

  Win32Show show;
  HWND window = CreatePrimaryWindow(instance, show.PrimaryContext());
  if (!window) return 1;
  SetForegroundWindow(window);
  return RunMessageLoop(show);
}

}  // namespace
}  // namespace orvane::engine

// Whatever the command line or show state, the run is the same full-screen window.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  return orvane::engine::RunSaverWindow(instance);
}
