// The picture slots of a show whose outputs come and go. The first output gets
// the primary slot, which the show's rules start and end the show with, so it
// is never handed out again; a slot freed by an output that went is reused by
// the next one, so the lists indexed by slot do not grow with every hot-plug.
#pragma once

#include <cstddef>
#include <vector>

namespace orvane::linux_program {

class ShowSlots {
 public:
  // The slot for a new output: 0 the first time, else the lowest free one above 0.
  int Take() {
    for (std::size_t n = 1; n < used_.size(); ++n)
      if (!used_[n]) {
        used_[n] = true;
        return static_cast<int>(n);
      }
    used_.push_back(true);
    return static_cast<int>(used_.size() - 1);
  }
  void Release(int slot) {
    if (slot >= 0 && static_cast<std::size_t>(slot) < used_.size()) used_[slot] = false;
  }
  std::size_t InUse() const {
    std::size_t count = 0;
    for (bool used : used_) count += used ? 1 : 0;
    return count;
  }

 private:
  std::vector<bool> used_;
};

}  // namespace orvane::linux_program
