#pragma once
// State of a picture that only its tests read: the show itself only steps,
// resizes and ends its pictures.
#include "engine/picture.h"

#include <vector>

namespace orvane::engine {

struct PictureTesting {
  static const std::vector<Veil>& Veils(const Picture& picture) { return picture.veils_; }
  static float LastStep(const Picture& picture) { return picture.frameClock_.dt; }
};

}  // namespace orvane::engine
