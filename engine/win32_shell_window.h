// The engine's windows under Win32: the class, the creation, and the window
// procedure that turns messages into the show's rule events and gives each
// message the reply the platform expects.
#pragma once

#include "engine/shell_rules.h"

#include <windows.h>

namespace orvane::engine {

// The class and creation title other savers and the single-instance rule look for.
constexpr char kWindowClass[] = "WindowsScreenSaverClass";
constexpr char kCreationTitle[] = "Screensaver";

// What a window's procedure needs, handed over at creation and kept in the window's data.
struct ShellWindowContext {
  ShellRules* rules = nullptr;
  ShowWindowId id = kPrimaryWindow;
  HWND window = nullptr;  // filled in when the window is made, before WM_CREATE
};

// The rule events a message stands for, and the reply: either `defaultProcedure`'s
// or the rules' own. Separate from the window procedure so a test can watch it.
LRESULT HandleShellMessage(const ShellWindowContext& context, HWND window, UINT message,
                           WPARAM wParam, LPARAM lParam, WNDPROC defaultProcedure);

// Maps a system command's number to the kind the rules tell apart.
SystemCommand SystemCommandOf(WPARAM wParam);

// A window of the engine's class still being created: a saver that owns the screen.
HWND FindStartingSaver();
// Registers the class (its icon from the module's resources); false on failure.
bool RegisterShellWindowClass(HINSTANCE instance);
// The full-screen topmost window on the primary monitor; `context` must outlive it.
// Windows on other monitors are owned by it, so they go when it goes.
HWND CreatePrimaryWindow(HINSTANCE instance, ShellWindowContext* context);

}  // namespace orvane::engine
