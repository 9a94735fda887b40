#pragma once
// A picture drawn by code: rows top to bottom, three bytes a pixel (red,
// green, blue). The dialog and its buttons draw theirs at the display's
// density; the asset tools write the same drawings to files.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace orvane::common {

// A colour while it is worked out, channels 0 to 255 as real numbers.
struct Colour {
  double r, g, b;
};

inline Colour Mix(Colour a, Colour b, double t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

struct RgbPicture {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> pixels;  // width * height * 3

  RgbPicture() = default;
  RgbPicture(int w, int h) : width(w), height(h), pixels(static_cast<size_t>(w) * h * 3) {}
  uint8_t* At(int x, int y) { return &pixels[(static_cast<size_t>(y) * width + x) * 3]; }
  const uint8_t* At(int x, int y) const {
    return &pixels[(static_cast<size_t>(y) * width + x) * 3];
  }
  // Each channel rounded to the nearest whole value within 0 to 255.
  void Put(int x, int y, Colour c) {
    uint8_t* px = At(x, y);
    px[0] = Channel(c.r);
    px[1] = Channel(c.g);
    px[2] = Channel(c.b);
  }

 private:
  static uint8_t Channel(double v) {
    return static_cast<uint8_t>(std::lround(std::clamp(v, 0.0, 255.0)));
  }
};

}  // namespace orvane::common
