// Measures of a 256 x 256 luminance streak image, shared by its generator
// (printed while tuning) and the test of the embedded copy.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace streak {

constexpr int kSide = 256;
constexpr int kBrightLevel = 128;  // a texel at or above this is part of a bright streak

struct Stats {
  double mean = 0;
  double darkShare = 0;  // share of texels below 32
  int minimum = 255, maximum = 0;
  int fewestStreaks =
      1 << 30;  // bright runs met along a vertical line, fewest and most over all columns
  int mostStreaks = 0;
  double interiorStep = 0;  // mean |difference| between neighbouring texels inside the image
  double seamStep = 0;      // the same across the wrap-around edges
};

inline Stats Measure(const std::uint8_t* image) {
  Stats s;
  auto at = [image](int x, int y) {
    return static_cast<int>(image[(y & (kSide - 1)) * kSide + (x & (kSide - 1))]);
  };
  long long sum = 0, dark = 0;
  for (int n = 0; n < kSide * kSide; ++n) {
    sum += image[n];
    dark += image[n] < 32;
    s.minimum = std::min<int>(s.minimum, image[n]);
    s.maximum = std::max<int>(s.maximum, image[n]);
  }
  s.mean = static_cast<double>(sum) / (kSide * kSide);
  s.darkShare = static_cast<double>(dark) / (kSide * kSide);

  for (int x = 0; x < kSide; ++x) {
    int runs = 0;
    for (int y = 0; y < kSide; ++y) runs += at(x, y) >= kBrightLevel && at(x, y - 1) < kBrightLevel;
    s.fewestStreaks = std::min(s.fewestStreaks, runs);
    s.mostStreaks = std::max(s.mostStreaks, runs);
  }

  long long interior = 0, seam = 0;
  for (int n = 0; n < kSide; ++n) {
    for (int m = 0; m + 1 < kSide; ++m)
      interior += std::abs(at(m, n) - at(m + 1, n)) + std::abs(at(n, m) - at(n, m + 1));
    seam += std::abs(at(kSide - 1, n) - at(0, n)) + std::abs(at(n, kSide - 1) - at(n, 0));
  }
  s.interiorStep = static_cast<double>(interior) / (2.0 * kSide * (kSide - 1));
  s.seamStep = static_cast<double>(seam) / (2.0 * kSide);
  return s;
}

}  // namespace streak
