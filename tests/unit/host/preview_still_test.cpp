#include "tools/preview_still.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

TEST(PreviewStill, TheChosenFrameIsMagentaAndPinkStreaksOnBlack) {
  float hue[2], saturation[2];
  StillHues(kPreviewFrame, hue, saturation);
  for (int n = 0; n < 2; ++n) {
    EXPECT_GT(hue[n], 0.83f) << n;
    EXPECT_LT(hue[n], 0.97f) << n;
  }

  const StillImage image = DrawStill(kPreviewFrame, 152, 112, 2);
  ASSERT_EQ(image.width, 152);
  ASSERT_EQ(image.height, 112);
  ASSERT_EQ(image.rgb.size(), 152u * 112u * 3u);
  int dark = 0, lit = 0, pinkish = 0;
  for (std::size_t p = 0; p < image.rgb.size(); p += 3) {
    const int r = image.rgb[p], g = image.rgb[p + 1], b = image.rgb[p + 2];
    const int top = std::max({r, g, b});
    if (top < 24) ++dark;
    if (top >= 64) {
      ++lit;
      if (r > g + 16 && b > g + 16) ++pinkish;
    }
  }
  const int pixels = 152 * 112;
  EXPECT_GT(dark, pixels / 10) << "black between the streaks";
  EXPECT_GT(lit, pixels / 4) << "streaks across the picture";
  EXPECT_GT(pinkish, lit * 9 / 10) << "lit pixels are magenta or pink";
}

}  // namespace
