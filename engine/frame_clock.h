// Time step of each frame from a wrapping millisecond counter.
#pragma once

#include <cstdint>

namespace orvane::engine {

struct FrameClock {
  std::uint32_t lastTime = 0;
  bool clockStarted = false;
  float dt = 0;  // seconds; 0 before the first frame

  // readMilliseconds is called once per frame, twice on the very first: the
  // clock starts at the first frame, whose step is the time between the reads.
  template <typename Read>
  float Tick(Read readMilliseconds) {
    if (!clockStarted) {
      lastTime = readMilliseconds();
      clockStarted = true;
    }
    const std::uint32_t previous = lastTime;
    const std::uint32_t now = readMilliseconds();
    lastTime = now;
    // A counter that wrapped repeats the previous step instead of a huge one.
    if (now >= previous) dt = static_cast<float>(now - previous) * 0.001f;
    return dt;
  }
};

}  // namespace orvane::engine
