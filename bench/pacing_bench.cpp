// CPU per second of the Windows show with its frames paced to the display's refresh
// and without pacing, in one run: the modes alternate, so the load of the machine
// falls on each alike. "paced" is what a driver without swap control gets; "shipped"
// is the engine as it ships, which trusts a swap that says it waits unless frames
// come much faster than the refresh; "paced 15" paces to 15 Hz, below what llvmpipe
// draws on a loaded machine, to show what the waiting costs where the pacing binds;
// "paced 1" shows what the process costs besides its frames. bench/pacing_bench.sh
// runs it on displays of several sizes (Xvfb has no vertical sync, though Wine's
// swap says it waits).
//
//   engine_pacing_bench.exe [SECONDS [ROUNDS]]
#include "bench/win32_show_run.h"
#include "engine/win32/win32_show.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

using orvane::engine::Win32Show;

struct Measure {
  const char* name;
  Win32Show::Pacing pacing;
  double rateHz = 0;  // the display's refresh
  double seconds = 0;
  double cpu = 0;
  std::uint64_t frames = 0;
  bool pacingSeen = false;
};

void Run(Win32Show& show, UINT ms, Measure& into) {
  show.SetFramePacing(into.pacing, into.rateHz);
  // The first half second judges the swap; measured from there on.
  orvane::bench::RunShowFor(show, 600);
  const std::uint64_t frames = show.Pictures().Rounds();
  const double cpu = orvane::bench::ProcessCpuSeconds();
  const DWORD start = GetTickCount();
  orvane::bench::RunShowFor(show, ms);
  into.seconds += (GetTickCount() - start) / 1000.0;
  into.cpu += orvane::bench::ProcessCpuSeconds() - cpu;
  into.frames += show.Pictures().Rounds() - frames;
  into.pacingSeen = into.pacingSeen || show.PacingFrames();
}

}  // namespace

int main(int argc, char** argv) {
  const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 2;
  orvane::engine::Win32Clock clock;
  Win32Show show(GetModuleHandleA(nullptr), clock);
  if (!show.Open()) {
    std::fprintf(stderr, "no window\n");
    return 1;
  }
  RECT area = {};
  GetClientRect(show.Primary(), &area);
  std::printf("display %ldx%ld, the swap says it waits for the display: %s\n", area.right,
              area.bottom, show.Pictures().PrimaryWaitsForDisplay() ? "yes" : "no");
  orvane::bench::RunShowFor(show, 2000);  // warm up

  Measure modes[] = {{"paced", Win32Show::Pacing::Always},
                     {"unpaced", Win32Show::Pacing::Off},
                     {"shipped", Win32Show::Pacing::WhereSwapDoesNot},
                     {"paced 15", Win32Show::Pacing::Always, 15},
                     // Next to no frames: what the process costs besides drawing.
                     {"paced 1", Win32Show::Pacing::Always, 1}};
  for (int round = 0; round < rounds; ++round)
    for (Measure& mode : modes) Run(show, static_cast<UINT>(seconds) * 1000, mode);
  for (const Measure& m : modes)
    std::printf("%-9s frames/s %7.1f  cpu/s %.3f  cpu per frame %.2f ms  paced: %s\n", m.name,
                m.frames / m.seconds, m.cpu / m.seconds,
                1000 * m.cpu / std::max<double>(1, m.frames), m.pacingSeen ? "yes" : "no");
  const auto cpuPerSecond = [](const Measure& m) { return m.cpu / m.seconds; };
  std::printf("cpu/s over unpaced: paced %.2f, shipped %.2f, paced 15 %.2f\n",
              cpuPerSecond(modes[0]) / cpuPerSecond(modes[1]),
              cpuPerSecond(modes[2]) / cpuPerSecond(modes[1]),
              cpuPerSecond(modes[3]) / cpuPerSecond(modes[1]));
  return 0;
}
