#include "engine/pixel_format.h"

int ScorePixelFormat(const PixelFormatTraits& format) {
  using namespace pixel_flags;
  const std::uint32_t required = kSupportOpenGl | kDrawToWindow | kDoubleBuffer;
  if ((format.flags & required) != required || format.pixelType != kTypeRgba) return 0;
  int score = format.colorBits + 2 * format.depthBits;
  if (format.colorBits > 16) score += (16 - format.colorBits) / 2;  // truncates toward zero
  if (!(format.flags & kGenericFormat))
    score += 2000;  // the driver's own, hardware-accelerated format
  else if (format.flags & kGenericAccelerated)
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
