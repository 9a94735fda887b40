// The show over every monitor of the display it runs on, for the several-monitor
// benchmark (bench/desk_bench.sh runs it on one, the other and both monitors):
//
//   engine_desk_bench.exe [SECONDS]   prints the windows, rounds per second and CPU use
#include "bench/win32_show_run.h"
#include "engine/win32/win32_show.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  using namespace orvane::engine;
  const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
  Win32Clock clock;
  Win32Show show(GetModuleHandleA(nullptr), clock);
  if (!show.Open()) {
    std::fprintf(stderr, "no window\n");
    return 1;
  }
  // Frames as fast as they come: the cost of a round is measured, not the display's rate.
  show.SetFramePacing(Win32Show::Pacing::Off);
  // Warm up, then measure from a fresh count.
  orvane::bench::RunShowFor(show, 2000);
  const std::uint64_t rounds = show.Pictures().Rounds();
  const double cpu = orvane::bench::ProcessCpuSeconds();
  const DWORD start = GetTickCount();
  orvane::bench::RunShowFor(show, static_cast<UINT>(seconds) * 1000);
  const double elapsed = (GetTickCount() - start) / 1000.0;
  std::printf("windows %zu rounds/s %.2f cpu %.2f\n", 1 + show.OtherWindowCount(),
              static_cast<double>(show.Pictures().Rounds() - rounds) / elapsed,
              (orvane::bench::ProcessCpuSeconds() - cpu) / elapsed);
  return 0;
}
