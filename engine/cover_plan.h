// Which windows cover a desk of several monitors. The primary monitor keeps the one
// window the engine always had; every other monitor gets a window of its own.
// Platform-free, so the plan is tested on made-up desks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace orvane::engine {

// A monitor's rectangle in virtual-screen pixels; left and top may be negative
// (a monitor left of or above the primary).
struct MonitorRect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;

  std::int32_t Width() const { return right - left; }
  std::int32_t Height() const { return bottom - top; }
  bool Empty() const { return right <= left || bottom <= top; }
  bool operator==(const MonitorRect& other) const {
    return left == other.left && top == other.top && right == other.right && bottom == other.bottom;
  }
  bool operator!=(const MonitorRect& other) const { return !(*this == other); }
};

struct MonitorInfo {
  MonitorRect rect;
  bool primary = false;
};

// The rectangles of the windows beside the primary's, in the order the system
// listed them. Empty monitors are skipped, a monitor reported twice with one
// rectangle (mirrored) gets one window, and one showing the primary's rectangle
// gets none (the primary's window is already there).
std::vector<MonitorRect> PlanOtherWindows(const std::vector<MonitorInfo>& monitors,
                                          MonitorRect primaryWindow);

// What covers one X screen: the primary window's rectangle (the whole screen on a
// single monitor, as always) and one rectangle for each other monitor.
struct ScreenCover {
  MonitorRect primary;
  std::vector<MonitorRect> others;
};
ScreenCover PlanScreenCover(const std::vector<MonitorInfo>& monitors, int screenWidth,
                            int screenHeight);

// What to do when the system says the desk changed while the show runs.
enum class DeskChange {
  Keep,     // the same rectangles: nothing to do
  Recover,  // monitors came, went or moved: cover the new desk
};
DeskChange DecideDeskChange(const std::vector<MonitorRect>& coveredOthers,
                            MonitorRect coveredPrimary,
                            const std::vector<MonitorRect>& plannedOthers,
                            MonitorRect plannedPrimary);

}  // namespace orvane::engine
