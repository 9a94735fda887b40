#include "engine/pixel_format.h"

namespace orvane::engine {

int ScorePixelFormat(const PixelFormatTraits& format) {
  const std::uint32_t required = kPfdSupportOpenGl | kPfdDrawToWindow | kPfdDoubleBuffer;
  if ((format.flags & required) != required || format.pixelType != kPfdTypeRgba) return 0;
  int score = format.colorBits + 2 * format.depthBits;
  if (format.colorBits > 16) score += (16 - format.colorBits) / 2;  // truncates toward zero
  if (!(format.flags & kPfdGenericFormat))
    score += 2000;  // the driver's own, hardware-accelerated format
  else if (format.flags & kPfdGenericAccelerated)
    score += 1000;
  return score;
}

int ChoosePixelFormatIndex(
    const std::function<bool(int index, PixelFormatTraits& traits)>& describe) {
  int best = 0, bestIndex = 0;
  PixelFormatTraits traits;
  for (int index = 1; describe(index, traits); ++index) {
    const int score = ScorePixelFormat(traits);
    if (score > best) {
      best = score;
      bestIndex = index;
    }
  }
  return bestIndex;
}

}  // namespace orvane::engine
