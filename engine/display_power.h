// The console display's power state and what it means for drawing.
#pragma once

namespace orvane::engine {

// The console display's power state as the system reports it.
enum class DisplayPower { On, Off, Dimmed };

// Whether frames are drawn: not while the display is off, and the motion goes on
// after it without a jump over the dark time.
class DisplayPowerState {
 public:
  void Report(DisplayPower power) {
    const bool dark = power == DisplayPower::Off;
    if (dark_ && !dark) resumed_ = true;
    dark_ = dark;
  }
  bool Dark() const { return dark_; }
  // True once after the display came back.
  bool TakeResumed() {
    const bool resumed = resumed_;
    resumed_ = false;
    return resumed;
  }

 private:
  bool dark_ = false;
  bool resumed_ = false;
};

}  // namespace orvane::engine
