#include "widgets/command_drawing.h"

#include <gtest/gtest.h>

using namespace orvane::widgets;

namespace orvane::widgets {
namespace {

TEST(FramePieces, FullSizePictureIsCopiedOneToOne) {
  for (const auto& piece : FramePieces(960, 375)) {
    const Rect d = ToPixels(piece.dest), s = ToPixels(piece.source);
    EXPECT_EQ(d.width, s.width);
    EXPECT_EQ(d.height, s.height);
    EXPECT_EQ(d.x, s.x);  // the picture lands where it came from
    EXPECT_EQ(d.y, s.y);
  }
}

TEST(FramePieces, PixelPlacesAtOtherSizes) {
  // 435 x 315 twips is 29 x 21 pixels: edges shrink, corners stay 4 x 4.
  const Rect expected435[8][2] = {
      {{0, 0, 4, 4}, {0, 0, 4, 4}},     {{4, 0, 21, 4}, {4, 0, 56, 4}},
      {{25, 0, 4, 4}, {60, 0, 4, 4}},   {{25, 4, 4, 13}, {60, 4, 4, 17}},
      {{25, 17, 4, 4}, {60, 21, 4, 4}}, {{4, 17, 21, 4}, {4, 21, 56, 4}},
      {{0, 17, 4, 4}, {0, 21, 4, 4}},   {{0, 4, 4, 13}, {0, 4, 4, 17}},
  };
  const auto pieces = FramePieces(435, 315);
  for (int i = 0; i < 8; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(ToPixels(pieces[i].dest), expected435[i][0]);
    EXPECT_EQ(ToPixels(pieces[i].source), expected435[i][1]);
  }
  // Wider than the picture: only the top and bottom edges stretch.
  const auto wide = FramePieces(1875, 375);
  EXPECT_EQ(ToPixels(wide[1].dest), (Rect{4, 0, 117, 4}));
  EXPECT_EQ(ToPixels(wide[3].dest), (Rect{121, 4, 4, 17}));
}

TEST(FramePieces, TooSmallSurfaceGetsEmptyEdges) {
  const auto pieces = FramePieces(90, 90);
  EXPECT_EQ(pieces[1].dest.width, 0);
  EXPECT_EQ(pieces[3].dest.height, 0);
}

TEST(ColourString, Channels) {
  struct Row {
    const char* text;
    Channels expected;
  } rows[] = {
      {"&HFFFFFF", {0xFF00, 0xFF00, 0xFF00}},
      {"&HC6C5D7", {0xC600, 0xC500, 0xD700}},
      {"&hc6c5d7", {0xC600, 0xC500, 0xD700}},
      {"16777215", {0xFF00, 0xFF00, 0xFF00}},
      {"&H123456", {0x1200, 0x3400, 0x5600}},
      // Without leading zeros the digits shift: green-only reads as red.
      {"&H00FF00", {0xFF00, 0x0000, 0x0000}},
      {"&HABCDE", {0xAB00, 0xCD00, 0x0E00}},
      {"nonsense", {0, 0, 0}},
  };
  for (const auto& r : rows) EXPECT_EQ(ChannelsFromColourString(r.text), r.expected) << r.text;
}

}  // namespace
}  // namespace orvane::widgets
