// The engine's windows under Win32: the class, the creation, and the window
// procedure that turns messages into the show's rule events and gives each
// message the reply the platform expects.
#pragma once

#include "engine/display_power.h"
#include "engine/show_rules.h"

#include <windows.h>

namespace orvane::engine {

// The class and creation title other savers and the single-instance rule look for.
constexpr char kWindowClass[] = "WindowsScreenSaverClass";
constexpr char kCreationTitle[] = "Screensaver";
// The windows on the other monitors: a class and title that neither the host's
// watch ("OrvaneVC") nor the single-instance rule can take for the primary.
constexpr char kOtherWindowClass[] = "OrvaneMonitorWindow";
constexpr char kOtherWindowTitle[] = "Orvane monitor";

// GUID_CONSOLE_DISPLAY_STATE: the power setting that reports the display off, on or dimmed.
constexpr GUID kConsoleDisplayState = {
    0x6fe69556, 0x704a, 0x47a0, {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}};

// What concerns the whole desk rather than the rules: the display's power and its layout.
class DeskEvents {
 public:
  virtual ~DeskEvents() = default;
  virtual void OnDisplayPower(DisplayPower power) = 0;
  virtual void OnDeskChanged() = 0;
};

// What a window's procedure needs, handed over at creation and kept in the window's data.
struct ShowWindowContext {
  ShowRules* rules = nullptr;
  DeskEvents* desk = nullptr;  // may be null
  ShowWindowId id = kPrimaryWindow;
  HWND window = nullptr;  // filled in when the window is made, before WM_CREATE
};

// The rule events a message stands for, and the reply: either `defaultProcedure`'s
// or the rules' own. Separate from the window procedure so a test can watch it.
LRESULT HandleShowMessage(const ShowWindowContext& context, HWND window, UINT message,
                          WPARAM wParam, LPARAM lParam, WNDPROC defaultProcedure);

// Maps a system command's number to the kind the rules tell apart.
SystemCommand SystemCommandOf(WPARAM wParam);

// A window of the engine's class still being created: a saver that owns the screen.
HWND FindStartingSaver();
// Registers the primary's class (its icon from the module's resources) and the
// other monitors' class; false when the primary's cannot be registered.
bool RegisterShowWindowClasses(HINSTANCE instance);
void UnRegisterShowWindowClasses(HINSTANCE instance);
// The full-screen topmost window on the primary monitor; `context` must outlive it.
// Windows on other monitors are owned by it, so they go when it goes.
HWND CreatePrimaryWindow(HINSTANCE instance, ShowWindowContext* context);
// A topmost window covering `rect` exactly, owned by the primary; black until drawn.
HWND CreateOtherWindow(HINSTANCE instance, HWND primary, ShowWindowContext* context,
                       const RECT& rect);

}  // namespace orvane::engine
