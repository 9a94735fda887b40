#include "dialog/indicator_drawing.h"

#include "common/twips.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace orvane::dialog {
namespace {

using Rgb = common::Colour;
using common::Mix;

constexpr Rgb kFrame{28, 28, 28};
constexpr Rgb kFaceTopLeft{128, 128, 128};
constexpr Rgb kFaceBottomRight{255, 255, 255};
constexpr Rgb kRing{214, 214, 214};
constexpr Rgb kBlueTopLeft{69, 171, 235};
constexpr Rgb kBlueBottomRight{24, 58, 83};

// Diagonal shade over the square [first, last] x [first, last]: 0 at the top
// left corner, 1 at the bottom right one.
double Diagonal(int x, int y, int first, int last) {
  return static_cast<double>(x + y - 2 * first) / (2.0 * (last - first));
}

}  // namespace

common::RgbPicture DrawModeIndicator(bool selected, int dpi) {
  const int size = std::max(6, common::TwipsToPixelsAt(kIndicatorPictureTwips, dpi));
  // The frame and the ring are one pixel each at 12 pixels, whole pixels at any size.
  const int band = std::max(1, static_cast<int>(std::lround(size / 12.0)));
  common::RgbPicture picture(size, size);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      const int edge = std::min({x, y, size - 1 - x, size - 1 - y});
      Rgb c;
      if (edge < band) {
        c = kFrame;
      } else if (!selected) {
        c = Mix(kFaceTopLeft, kFaceBottomRight, Diagonal(x, y, band, size - 1 - band));
      } else if (edge < 2 * band) {
        c = kRing;
      } else {
        c = Mix(kBlueTopLeft, kBlueBottomRight, Diagonal(x, y, 2 * band, size - 1 - 2 * band));
      }
      picture.Put(x, y, c);
    }
  }
  return picture;
}

}  // namespace orvane::dialog
