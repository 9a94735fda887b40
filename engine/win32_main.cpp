// Orvane.dll: the visual engine, a windowed program despite its extension.
// One full-screen topmost window; frames are drawn whenever the queue is empty.
#include "engine/render.h"
#include "engine/shell_policy.h"
#include "engine/wgl_surface.h"
#include "engine/win32_clock.h"

#include <windows.h>

#include <memory>

static_assert(ShellMessage::Create == WM_CREATE && ShellMessage::Destroy == WM_DESTROY &&
              ShellMessage::Close == WM_CLOSE && ShellMessage::ShowWindow == WM_SHOWWINDOW &&
              ShellMessage::ActivateApp == WM_ACTIVATEAPP &&
              ShellMessage::SetCursor == WM_SETCURSOR && ShellMessage::KeyDown == WM_KEYDOWN &&
              ShellMessage::SysKeyDown == WM_SYSKEYDOWN &&
              ShellMessage::SysCommand == WM_SYSCOMMAND &&
              ShellMessage::MouseMove == WM_MOUSEMOVE &&
              ShellMessage::LButtonDown == WM_LBUTTONDOWN &&
              ShellMessage::RButtonDown == WM_RBUTTONDOWN &&
              ShellMessage::MButtonDown == WM_MBUTTONDOWN);
static_assert(ShellCommand::NextWindow == SC_NEXTWINDOW &&
              ShellCommand::PrevWindow == SC_PREVWINDOW &&
              ShellCommand::ScreenSave == SC_SCREENSAVE);

namespace {

// The 9x family keeps its screen-saver password behind PASSWORD.CPL; everywhere
// else there is nothing to ask and the close goes ahead.
bool verifyScreenSaverPassword(HWND window) {
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

class Win32Shell final : public ShellPlatform {
 public:
  HWND window = nullptr;

  ShellPoint cursorPosition() override {
    POINT p = {};
    GetCursorPos(&p);
    return {p.x, p.y};
  }
  void hideCursor() override { SetCursor(nullptr); }
  void setRunTitle() override { SetWindowTextA(window, shellRunTitle); }
  void lowerThreadPriority() override {
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_LOWEST);
  }
  void setUpRendering() override {
    surface = std::make_unique<WglSurface>(window);
    rendering = ::setUpRendering(*surface, clock);
  }
  void tearDownRendering() override {
    if (rendering) ::tearDownRendering(*rendering);
    rendering.reset();
    surface.reset();
  }
  void postQuit() override { PostQuitMessage(0); }
  void postClose() override { PostMessageA(window, WM_CLOSE, 0, 0); }
  bool verifyPassword() override { return verifyScreenSaverPassword(window); }

  void drawFrame() {
    if (rendering) frameStep(*rendering);
  }

 private:
  Win32Clock clock;
  std::unique_ptr<WglSurface> surface;
  std::unique_ptr<Rendering> rendering;
};

// The process has exactly one engine window, and the window procedure has no
// other way to reach its state.
Win32Shell shell;
ShellPolicy policy(shell);

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  shell.window = window;
  const ShellReply reply = policy.handle(message, wParam);
  return reply.defaultProcessing ? DefWindowProcA(window, message, wParam, lParam) : reply.result;
}

// Serves every waiting message first and draws only when the queue is empty.
int runMessageLoop() {
  MSG message;
  for (;;) {
    while (!PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE)) {
      if (policy.frameDue()) shell.drawFrame();
      Sleep(0);
    }
    const BOOL got = GetMessageA(&message, nullptr, 0, 0);
    if (got == 0) return static_cast<int>(message.wParam);
    if (got == -1) return 1;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

int runSaverWindow(HINSTANCE instance) {
  // A saver still being created owns the screen; a running engine has already retitled its window.
  HWND other = FindWindowA(shellWindowClass, shellCreationTitle);
  if (other && IsWindow(other)) {
    SetForegroundWindow(other);
    return 0;
  }

  WNDCLASSA windowClass = {};
  windowClass.style = CS_VREDRAW | CS_HREDRAW | CS_OWNDC;
  windowClass.lpfnWndProc = windowProc;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(shellIconId));
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  windowClass.lpszClassName = shellWindowClass;

  if (!RegisterClassA(&windowClass)) return 1;
  HWND window = CreateWindowExA(WS_EX_TOPMOST, shellWindowClass, shellCreationTitle,
                                WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0,
                                GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                                nullptr, nullptr, instance, nullptr);
  if (!window) return 1;
  SetForegroundWindow(window);
  return runMessageLoop();
}

}  // namespace

// Whatever the command line or show state, the run is the same full-screen window.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) { return runSaverWindow(instance); }
