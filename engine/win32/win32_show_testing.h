#pragma once
// What only the Win32 show's tests need: its list of windows, and its loop run
// for a while.
#include "engine/win32/win32_show.h"

#include <windows.h>

namespace orvane::engine {

struct Win32ShowTesting {
  // Places in the list of windows, the primary's included, live or gone.
  static std::size_t WindowSlots(const Win32Show& show) { return show.windows_.size(); }

  // Runs the show's loop for about `ms` milliseconds.
  static void RunFor(Win32Show& show, UINT ms) {
    SetTimer(nullptr, 0, ms, [](HWND, UINT, UINT_PTR id, DWORD) {
      KillTimer(nullptr, id);
      PostQuitMessage(0);
    });
    show.RunMessageLoop();
  }
};

}  // namespace orvane::engine
