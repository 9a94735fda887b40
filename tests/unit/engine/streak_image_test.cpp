#include "engine/streak_image.h"

#include "tools/streak_stats.h"

#include <gtest/gtest.h>

using namespace orvane::engine;

namespace {

TEST(StreakImage, EmbeddedTexelsHaveTheIntendedLook) {
  static_assert(sizeof kStreakImage == 65536, "256 x 256 bytes");
  const streak::Stats s = streak::Measure(kStreakImage);
  EXPECT_EQ(s.minimum, 0);
  EXPECT_EQ(s.maximum, 255);
  EXPECT_NEAR(s.mean, 102, 6);
  EXPECT_NEAR(s.darkShare, 0.25, 0.04);
  EXPECT_GE(s.fewestStreaks, 20);
  EXPECT_LE(s.mostStreaks, 28);
}

TEST(StreakImage, OppositeEdgesJoinWithoutASeam) {
  // Across the wrap-around edges neighbouring texels differ no more than they
  // do inside the image, so repeated copies show no seam.
  const streak::Stats s = streak::Measure(kStreakImage);
  EXPECT_LE(s.seamStep, 1.2 * s.interiorStep);
}

TEST(StreakImage, StreaksRunAcrossNotDown) {
  // Mostly horizontal: neighbours along a row are much closer than along a column.
  long long along = 0, down = 0;
  for (int y = 0; y < kStreakImageSide; ++y) {
    for (int x = 0; x < kStreakImageSide; ++x) {
      const int here = kStreakImage[y * kStreakImageSide + x];
      along += std::abs(here - kStreakImage[y * kStreakImageSide + (x + 1) % kStreakImageSide]);
      down += std::abs(here - kStreakImage[((y + 1) % kStreakImageSide) * kStreakImageSide + x]);
    }
  }
  EXPECT_GT(down, 3 * along);
}

}  // namespace
