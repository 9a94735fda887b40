// The show over every monitor of the display it runs on, for the several-monitor
// benchmark (bench/desk_bench.sh runs it on one, the other and both monitors):
//
//   engine_desk_bench.exe [SECONDS]   prints the windows, rounds per second and CPU use
#include "engine/win32_show.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace {

double ProcessCpuSeconds() {
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  const auto seconds = [](FILETIME t) {
    return static_cast<double>((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime) *
           1e-7;
  };
  return seconds(kernel) + seconds(user);
}

}  // namespace

int main(int argc, char** argv) {
  using namespace orvane::engine;
  const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
  Win32Show show(GetModuleHandleA(nullptr));
  if (!show.Open()) {
    std::fprintf(stderr, "no window\n");
    return 1;
  }
  // Warm up, then measure from a fresh count.
  const auto runFor = [&show](UINT ms) {
    SetTimer(nullptr, 0, ms, [](HWND, UINT, UINT_PTR id, DWORD) {
      KillTimer(nullptr, id);
      PostQuitMessage(0);
    });
    show.RunMessageLoop();
  };
  runFor(2000);
  const std::uint64_t rounds = show.Pictures().Rounds();
  const double cpu = ProcessCpuSeconds();
  const DWORD start = GetTickCount();
  runFor(static_cast<UINT>(seconds) * 1000);
  const double elapsed = (GetTickCount() - start) / 1000.0;
  std::printf("windows %zu rounds/s %.2f cpu %.2f\n", 1 + show.OtherWindowCount(),
              static_cast<double>(show.Pictures().Rounds() - rounds) / elapsed,
              (ProcessCpuSeconds() - cpu) / elapsed);
  return 0;
}
