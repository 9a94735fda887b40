#include "engine/show_pictures.h"

namespace orvane::engine {

void ShowPictures::SetUp(std::size_t index, GlSurface& surface) {
  if (pictures_.size() <= index) pictures_.resize(index + 1);
  const bool first = index == 0;
  pictures_[index] = SetUpRendering(surface, clock_, first ? nullptr : &random_);
  if (first) random_ = pictures_[index]->random;

  // Swapping several windows from one thread would wait for one refresh per
  // window: the primary waits for the display, the others swap at once.
  if (Count() > 1) {
    for (std::size_t n = 0; n < pictures_.size(); ++n)
      if (pictures_[n]) pictures_[n]->surface->SetSwapInterval(n == 0 ? 1 : 0);
  }
}

void ShowPictures::Resize(std::size_t index, SurfaceSize size) {
  if (index >= pictures_.size() || !pictures_[index]) return;
  Rendering& picture = *pictures_[index];
  if (Count() > 1) picture.surface->MakeCurrent();
  ResizeRendering(picture, size);
}

void ShowPictures::TearDown(std::size_t index) {
  if (index >= pictures_.size() || !pictures_[index]) return;
  Rendering& picture = *pictures_[index];
  if (Count() > 1) picture.surface->MakeCurrent();
  TearDownRendering(picture);
  pictures_[index].reset();
}

void ShowPictures::DrawRound() {
  if (power_.Dark()) return;
  const bool resumed = power_.TakeResumed();
  const bool several = Count() > 1;
  for (auto& picture : pictures_) {
    if (!picture) continue;
    // The frame clock starts anew, so the dark time is no step of the motion.
    if (resumed) picture->frameClock = FrameClock{};
    if (several) picture->surface->MakeCurrent();
    FrameStep(*picture);
  }
  ++rounds_;
}

bool ShowPictures::PrimaryWaitsForDisplay() const {
  const Rendering* primary = Picture(0);
  return primary && primary->surface && primary->surface->SwapWaitsForDisplay();
}

void ShowPictures::Draw(std::size_t index) {
  if (power_.Dark() || index >= pictures_.size() || !pictures_[index]) return;
  Rendering& picture = *pictures_[index];
  picture.surface->MakeCurrent();
  FrameStep(picture);
}

std::size_t ShowPictures::Count() const {
  std::size_t count = 0;
  for (const auto& picture : pictures_) count += picture ? 1 : 0;
  return count;
}

const Rendering* ShowPictures::Picture(std::size_t index) const {
  return index < pictures_.size() ? pictures_[index].get() : nullptr;
}

}  // namespace orvane::engine
