#include "engine/show_pictures.h"

namespace orvane::engine {

void ShowPictures::SetUp(std::size_t index, GlSurface& surface) {
  if (pictures_.size() <= index) pictures_.resize(index + 1);
  // A window set up again gives its old picture up first (its surface closes).
  pictures_[index].reset();
  if (index == 0) random_ = CalendarSeededRandom(clock_);
  pictures_[index] = std::make_unique<Picture>(surface, clock_, random_);

  // Swapping several windows from one thread would wait for one refresh per
  // window: the primary waits for the display, the others swap at once.
  if (Count() > 1) {
    for (std::size_t n = 0; n < pictures_.size(); ++n)
      if (pictures_[n]) pictures_[n]->Surface().SetSwapInterval(n == 0 ? 1 : 0);
  }
}

void ShowPictures::Resize(std::size_t index, SurfaceSize size) {
  if (index >= pictures_.size() || !pictures_[index]) return;
  Picture& picture = *pictures_[index];
  if (Count() > 1) picture.Surface().MakeCurrent();
  picture.Resize(size);
}

void ShowPictures::TearDown(std::size_t index) {
  if (index >= pictures_.size() || !pictures_[index]) return;
  if (Count() > 1) pictures_[index]->Surface().MakeCurrent();
  pictures_[index].reset();
}

void ShowPictures::TearDownAll() {
  for (std::size_t n = pictures_.size(); n-- > 0;) TearDown(n);
}

void ShowPictures::DrawRound() {
  if (power_.Dark()) return;
  const bool resumed = power_.TakeResumed();
  const bool several = Count() > 1;
  for (auto& picture : pictures_) {
    if (!picture) continue;
    // The frame clock starts anew, so the dark time is no step of the motion.
    if (resumed) picture->RestartFrameClock();
    if (several) picture->Surface().MakeCurrent();
    picture->Step();
  }
  ++rounds_;
}

bool ShowPictures::PrimaryWaitsForDisplay() const {
  const Picture* primary = PictureAt(0);
  return primary && primary->Surface().SwapWaitsForDisplay();
}

void ShowPictures::Draw(std::size_t index) {
  if (power_.Dark() || index >= pictures_.size() || !pictures_[index]) return;
  Picture& picture = *pictures_[index];
  picture.Surface().MakeCurrent();
  picture.Step();
}

std::size_t ShowPictures::Count() const {
  std::size_t count = 0;
  for (const auto& picture : pictures_) count += picture ? 1 : 0;
  return count;
}

const Picture* ShowPictures::PictureAt(std::size_t index) const {
  return index < pictures_.size() ? pictures_[index].get() : nullptr;
}

}  // namespace orvane::engine
