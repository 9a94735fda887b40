// What the benchmarks of the Windows show share: running the show's loop for a
// while, and the CPU time the whole process (llvmpipe's threads too) has used.
#pragma once

#include "engine/win32/win32_show.h"

#include <windows.h>

namespace orvane::bench {

inline double ProcessCpuSeconds() {
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  const auto seconds = [](FILETIME t) {
    return static_cast<double>((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime) *
           1e-7;
  };
  return seconds(kernel) + seconds(user);
}

// Runs the show's loop for about `ms` milliseconds.
inline void RunShowFor(engine::Win32Show& show, UINT ms) {
  SetTimer(nullptr, 0, ms, [](HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    PostQuitMessage(0);
  });
  show.RunMessageLoop();
}

}  // namespace orvane::bench
