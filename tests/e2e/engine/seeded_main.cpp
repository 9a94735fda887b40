// The engine for the scenarios alone (testbin/seeded/Orvane.dll): the shipped
// engine's run with a clock whose calendar seconds come from ORVANE_TEST_SEED,
// so a check of the picture meets the same veils every run. The shipped engine
// never reads that variable.
#include "engine/win32/win32_clock.h"
#include "engine/win32/win32_show.h"

#include <windows.h>

#include <cstdlib>

namespace {

class SeededClock final : public orvane::engine::RenderClock {
 public:
  std::uint32_t Milliseconds() override { return frames_.Milliseconds(); }
  // The seed stands in for the start time; without one, the calendar as always.
  std::uint32_t CalendarSeconds() override {
    char text[16] = {};
    const DWORD n = GetEnvironmentVariableA("ORVANE_TEST_SEED", text, sizeof text);
    if (n == 0 || n >= sizeof text) return RenderClock::CalendarSeconds();
    return static_cast<std::uint32_t>(std::strtoul(text, nullptr, 10));
  }

 private:
  orvane::engine::Win32Clock frames_;
};

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  SeededClock clock;
  return orvane::engine::RunEngine(instance, clock);
}
