// The streak texture: 256 x 256 texels of luminance, one byte each, rows one
// after another. Drawn once by tools/streak_image and embedded at build time.
#pragma once

namespace orvane::engine {

constexpr int kStreakImageSide = 256;
extern const unsigned char kStreakImage[kStreakImageSide * kStreakImageSide];

}  // namespace orvane::engine
