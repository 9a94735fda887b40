// Frame pacing and the frame-rate report of the Linux program, apart from X so
// they are tested on their own. Times are seconds of a monotonic clock.
#pragma once

#include <optional>

namespace orvane::engine {

// Paces frames to a fixed period where the swap does not wait for the display, so
// the picture never takes a whole core for nothing.
class FramePacer {
 public:
  FramePacer(double period, double start) : period_(period), next_(start) {}

  // Seconds to wait after a frame that ended at `now`. A frame that ran late waits
  // nothing, and later frames are not hurried to catch up.
  double WaitAfterFrame(double now) {
    next_ += period_;
    if (next_ < now) {
      next_ = now;
      return 0;
    }
    return next_ - now;
  }

 private:
  double period_;
  double next_;
};

// Counts frames; once a second of them has passed it gives their rate and starts anew.
class FpsCounter {
 public:
  std::optional<double> Frame(double now) {
    // The rate is of the frames after the first one seen: n frames, n intervals.
    if (!started_) {
      start_ = now;
      started_ = true;
      return std::nullopt;
    }
    ++frames_;
    if (now - start_ < 1.0) return std::nullopt;
    const double rate = frames_ / (now - start_);
    start_ = now;
    frames_ = 0;
    return rate;
  }

 private:
  double start_ = 0;
  bool started_ = false;
  int frames_ = 0;
};

}  // namespace orvane::engine
