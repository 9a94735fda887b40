// The state pictures drawn at other display densities: the same frame, as many whole pixels
// thick as the density asks, sharp along its straight runs.
#include "widgets/command_pictures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

namespace orvane::widgets {
namespace {

uint32_t At(const common::RgbPicture& p, int x, int y) {
  const uint8_t* px = p.At(x, y);
  return (uint32_t{px[0]} << 16) | (uint32_t{px[1]} << 8) | px[2];
}

// Ring k of the frame starts this many pixels from the edge (rings are whole pixels).
int RingStart(int k, int dpi) {
  return static_cast<int>(std::lround(k * common::TwipsToPixelsAt(kCornerTwips, dpi) / 4.0));
}

TEST(CommandPictures, SizeAndFrameFollowTheDensity) {
  struct Case {
    int dpi, width, height, frame;
  } cases[] = {
      {96, 64, 25, 4}, {120, 80, 31, 5}, {144, 96, 37, 6}, {192, 128, 50, 8}, {288, 192, 75, 12}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dpi);
    const common::RgbPicture p = DrawCommandPicture(Picture::Normal, c.dpi);
    EXPECT_EQ(p.width, c.width);
    EXPECT_EQ(p.height, c.height);
    EXPECT_EQ(RingStart(4, c.dpi), c.frame);
    // Down the middle of the top side: each ring's colour exact over its whole width, so that
    // the outline's edges are one pixel sharp whatever the density.
    const int x = p.width / 4;
    const uint32_t rings[] = {0xE0DCC9, 0x003C74, 0xF3F3EE, 0xF3F3EE};
    for (int k = 0; k < 4; ++k) {
      for (int y = RingStart(k, c.dpi); y < RingStart(k + 1, c.dpi); ++y)
        EXPECT_EQ(At(p, x, y), rings[k]) << "ring " << k << " row " << y;
    }
    // The bottom and the sides carry the frame as far from their edges.
    EXPECT_EQ(At(p, x, p.height - 1 - RingStart(1, c.dpi)), 0x003C74u);
    EXPECT_EQ(At(p, RingStart(1, c.dpi), p.height / 2), 0x003C74u);
    EXPECT_EQ(At(p, p.width - 1 - RingStart(1, c.dpi), p.height / 2), 0x003C74u);
  }
}

TEST(CommandPictures, EveryLookKeepsItsColoursAtTwiceTheDensity) {
  struct Case {
    Picture look;
    int ring;
    uint32_t top;  // middle of the top side, left half
  } cases[] = {{Picture::HighLight, 2, 0xFFF0CF}, {Picture::HighLightSelect, 3, 0xFDD889},
               {Picture::Selected, 2, 0xCEE7FF},  {Picture::Pressed, 2, 0x003C74},
               {Picture::Disable, 1, 0xC9C7BA},   {Picture::Disable, 0, 0xECE9D8}};
  for (const Case& c : cases) {
    const common::RgbPicture p = DrawCommandPicture(c.look, 192);
    for (int y = 2 * c.ring; y < 2 * c.ring + 2; ++y)
      EXPECT_EQ(At(p, 30, y), c.top) << static_cast<int>(c.look) << " row " << y;
  }
}

TEST(CommandPictures, CornersStayBevelledAtEveryDensity) {
  for (int dpi : {96, 144, 192}) {
    const common::RgbPicture p = DrawCommandPicture(Picture::Normal, dpi);
    const int outline = RingStart(1, dpi);
    // The outline runs along the side but not into the corner: the cut leaves the corner
    // pixel at the outline's depth outside it.
    EXPECT_EQ(At(p, p.width / 4, outline), 0x003C74u) << dpi;
    EXPECT_NE(At(p, outline, outline), 0x003C74u) << dpi;
    EXPECT_EQ(At(p, 0, 0), 0xE0DCC9u) << dpi;
  }
}

}  // namespace
}  // namespace orvane::widgets
