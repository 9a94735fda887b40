// Frame pacing and the frame-rate report, apart from the platforms (the Windows
// engine and the Linux program share them) so they are tested on their own. Times
// are seconds of a monotonic clock.
#pragma once

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>

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

// The display's refresh rate as the platform reports it; 0 and 1 stand for the
// hardware's default, which is taken as 60 Hz, as is anything implausible.
inline double RefreshRateOrDefault(int reportedHz) {
  constexpr int kDefaultHz = 60;
  return reportedHz > 1 && reportedHz <= 1000 ? reportedHz : kDefaultHz;
}

// Paces the frames of a show to the display's refresh where the swap does not wait
// for the display: where the driver offers no swap control, or takes the request
// and still returns frames much faster than the display can show them (vertical
// sync switched off in its settings). Without it such a show takes a whole core
// and a busy GPU for pictures nobody sees.
class DisplayPacing {
 public:
  // Frames measured before judging the swap, and how much faster than the refresh
  // they must come to count as unsynchronised: a synchronised swap holds the rate at
  // the refresh, give or take a frame queued ahead.
  static constexpr double kMeasureSeconds = 0.5;
  static constexpr double kTooFast = 1.5;

  // `swapWaits`: the swap was set to wait for the display and the driver took it.
  DisplayPacing(double refreshHz, bool swapWaits, double start)
      : period_(1.0 / refreshHz),
        pacing_(!swapWaits),
        pacer_(period_, start),
        next_(start),
        measureStart_(start) {}

  // A frame was presented at `now`.
  void FrameDone(double now) {
    if (!pacing_) {
      ++measured_;
      const double span = now - measureStart_;
      if (span < kMeasureSeconds) return;
      const bool tooFast = measured_ > kTooFast * span / period_;
      measureStart_ = now;
      measured_ = 0;
      if (!tooFast) return;
      pacing_ = true;
      pacer_ = FramePacer(period_, now);
      next_ = now;
    }
    next_ = now + pacer_.WaitAfterFrame(now);
  }
  // Seconds from `now` until the next frame is due; 0 while the swap does the pacing.
  double WaitBefore(double now) const { return pacing_ ? std::max(0.0, next_ - now) : 0.0; }
  bool Pacing() const { return pacing_; }

 private:
  double period_;
  bool pacing_;
  FramePacer pacer_;
  double next_;
  double measureStart_;
  int measured_ = 0;
};

// Counts frames; once a second of them has passed it gives their rate and starts anew.
// The rate as the line the programs report: "59.9 fps".
inline std::string FpsText(double rate) {
  char text[48];
  std::snprintf(text, sizeof text, "%.1f fps", rate);
  return text;
}

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
