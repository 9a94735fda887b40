// The frame clock's time on Windows: the multimedia timer's milliseconds.
#pragma once

#include "engine/render.h"

#include <windows.h>
#include <mmsystem.h>

#include <cstdlib>

namespace orvane::engine {

class Win32Clock final : public RenderClock {
 public:
  std::uint32_t Milliseconds() override { return timeGetTime(); }
#ifdef ORVANE_SEED_FROM_ENVIRONMENT
  // Only in the scenarios' copy of the engine: ORVANE_TEST_SEED stands in for
  // the start time, so a check of the picture meets the same veils every run.
  std::uint32_t CalendarSeconds() override {
    char text[16] = {};
    const DWORD n = GetEnvironmentVariableA("ORVANE_TEST_SEED", text, sizeof text);
    if (n == 0 || n >= sizeof text) return RenderClock::CalendarSeconds();
    return static_cast<std::uint32_t>(std::strtoul(text, nullptr, 10));
  }
#endif
};

}  // namespace orvane::engine
