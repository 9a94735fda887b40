// The frame clock's time on Windows: the multimedia timer's milliseconds, at the
// 1 ms resolution the show asks for.
#pragma once

#include "engine/picture.h"

#include <windows.h>

#include <mmsystem.h>

namespace orvane::engine {

// The multimedia timer's resolution while the show runs. Since Windows 10 2004
// timeGetTime advances in 15.6 ms steps unless the process itself asks for finer:
// frame steps would jump between one and two of those and the veils judder. The
// period is asked for once and given back once, with the same value, as the timer's
// documentation requires, and only if it was granted.
struct TimerPeriodCalls {
  MMRESULT(WINAPI* begin)(UINT) = timeBeginPeriod;
  MMRESULT(WINAPI* end)(UINT) = timeEndPeriod;
};

class FineTimerPeriod {
 public:
  static constexpr UINT kPeriodMs = 1;
  explicit FineTimerPeriod(TimerPeriodCalls calls)
      : calls_(calls), granted_(calls.begin(kPeriodMs) == TIMERR_NOERROR) {}
  ~FineTimerPeriod() {
    if (granted_) calls_.end(kPeriodMs);
  }
  FineTimerPeriod(const FineTimerPeriod&) = delete;
  FineTimerPeriod& operator=(const FineTimerPeriod&) = delete;

 private:
  TimerPeriodCalls calls_;
  bool granted_;
};

// Seconds of the performance counter, for pacing frames (finer than any timer period).
inline double CounterSeconds() {
  LARGE_INTEGER frequency, now;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

class Win32Clock final : public RenderClock {
 public:
  std::uint32_t Milliseconds() override { return timeGetTime(); }
};

}  // namespace orvane::engine
