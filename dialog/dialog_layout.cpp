#include "dialog/dialog_layout.h"

#include "common/conversions.h"

#include <cmath>

namespace orvane::dialog {

using common::kTwipsPerPixel;

int ModeAt(int x, int y, int dpi) {
  for (int mode = 0; mode < static_cast<int>(kModeIndicators.size()); ++mode) {
    if (ToPixels(kModeIndicators[mode], dpi).Contains(x, y) ||
        ToPixels(kModeLabels[mode], dpi).Contains(x, y))
      return mode;
  }
  return -1;
}

Point DialogPosition(int screenWidth, int screenHeight, int windowWidth, int windowHeight) {
  const long long leftTwips =
      (static_cast<long long>(screenWidth) - windowWidth) * kTwipsPerPixel / 2;
  const long long topTwips =
      (static_cast<long long>(screenHeight) - windowHeight) * kTwipsPerPixel / 3;
  return {static_cast<int>(std::lround(leftTwips / static_cast<double>(kTwipsPerPixel))),
          static_cast<int>(std::lround(topTwips / static_cast<double>(kTwipsPerPixel)))};
}

int GradientLevel(int y, int height) {
  if (height <= 0) return 0;  // a collapsed client area has no rows to shade
  const double d = height / 3.142;
  return static_cast<int>(common::RoundHalfEven(std::fabs(std::sin(y / d)) * 220));
}

Rgb DialogGradientColour(int y, int height) {
  const int c = GradientLevel(y, height);
  return {c, c, c + 30};
}

Rgb PanelGradientColour(int y, int height) {
  const int c = GradientLevel(y, height) + 30;
  return {c, c, c};
}

}  // namespace orvane::dialog
