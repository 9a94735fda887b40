// The frame clock's time on Linux: the monotonic clock, which no clock change moves.
#pragma once

#include "engine/picture.h"

#include <ctime>

namespace orvane::linux_program {

inline double MonotonicSeconds() {
  timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

class MonotonicClock final : public engine::RenderClock {
 public:
  std::uint32_t Milliseconds() override {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(now.tv_sec) * 1000u +
                                      static_cast<std::uint64_t>(now.tv_nsec) / 1000000u);
  }
};

}  // namespace orvane::linux_program
