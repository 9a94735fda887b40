// The pictures of one show, one per window, drawn in turn by one loop with one
// clock, and paused while the display is off. Platform-free: the windows' GL
// contexts come through GlSurface.
#pragma once

#include "engine/display_power.h"
#include "engine/picture.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace orvane::engine {

class ShowPictures {
 public:
  explicit ShowPictures(RenderClock& clock) : clock_(clock) {}

  // Sets up the picture of window `index` (0 is the primary, set up first). The
  // primary seeds the one random generator; each other window's veils continue it.
  void SetUp(std::size_t index, GlSurface& surface);
  void Resize(std::size_t index, SurfaceSize size);
  void TearDown(std::size_t index);
  // Ends every picture left, the primary's last (a show torn down from outside).
  void TearDownAll();

  // One frame of every picture, in window order; nothing while the display is off.
  void DrawRound();
  // Whether the primary's swap waits for the display (only the primary's may wait);
  // false while it has no picture.
  bool PrimaryWaitsForDisplay() const;
  // One frame of one picture, for a platform that paces each window on its own
  // (the compositor's frame callbacks); nothing while the display is off.
  void Draw(std::size_t index);
  void ReportDisplayPower(DisplayPower power) { power_.Report(power); }
  bool Dark() const { return power_.Dark(); }

  std::size_t Count() const;  // pictures set up and not torn down
  const Picture* PictureAt(std::size_t index) const;
  std::uint64_t Rounds() const { return rounds_; }

 private:
  RenderClock& clock_;
  std::vector<std::unique_ptr<Picture>> pictures_;  // by window; null where none
  RandomGenerator random_;  // where the next window's veils continue the sequence
  DisplayPowerState power_;
  std::uint64_t rounds_ = 0;
};

}  // namespace orvane::engine
