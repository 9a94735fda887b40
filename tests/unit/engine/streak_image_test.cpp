#include "engine/streak_image.h"
#include "tools/streak_stats.h"

#include <gtest/gtest.h>

namespace {

TEST(StreakImage, EmbeddedTexelsHaveTheIntendedLook) {
  static_assert(sizeof streakImage == 65536, "256 x 256 bytes");
  const streak::Stats s = streak::measure(streakImage);
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
  const streak::Stats s = streak::measure(streakImage);
  EXPECT_LE(s.seamStep, 1.2 * s.interiorStep);
}

TEST(StreakImage, StreaksRunAcrossNotDown) {
  // Mostly horizontal: neighbours along a row are much closer than along a column.
  long long along = 0, down = 0;
  for (int y = 0; y < streakImageSide; ++y) {
    for (int x = 0; x < streakImageSide; ++x) {
      const int here = streakImage[y * streakImageSide + x];
      along += std::abs(here - streakImage[y * streakImageSide + (x + 1) % streakImageSide]);
      down += std::abs(here - streakImage[((y + 1) % streakImageSide) * streakImageSide + x]);
    }
  }
  EXPECT_GT(down, 3 * along);
}

}  // namespace
