#include "tools/button_pictures.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>

namespace button_pictures {
namespace {

uint32_t At(const dialog_pictures::Picture& p, int x, int y) {
  const uint8_t* px = p.At(x, y);
  return (uint32_t{px[0]} << 16) | (uint32_t{px[1]} << 8) | px[2];
}

TEST(ButtonPictures, Size) {
  for (const auto& asset : Assets()) {
    const auto p = ButtonPicture(asset.look);
    EXPECT_EQ(p.width, 64);
    EXPECT_EQ(p.height, 25);
    EXPECT_EQ(p.channels, 3);
  }
}

TEST(ButtonPictures, RingColours) {
  struct Row {
    Look look;
    int x, y;
    uint32_t rgb;
  } rows[] = {
      {Look::Normal, 20, 0, 0xE0DCC9},     {Look::Normal, 50, 0, 0xDCD6C2},
      {Look::Normal, 20, 24, 0xF8F7F0},    {Look::Normal, 50, 24, 0xFAFAF6},
      {Look::Normal, 0, 12, 0xE2DECB},     {Look::Normal, 63, 12, 0xF0EEE0},
      {Look::Normal, 20, 1, 0x003C74},     {Look::Normal, 1, 12, 0x003C74},
      {Look::Normal, 62, 12, 0x003C74},    {Look::Normal, 20, 23, 0x003C74},
      {Look::Normal, 20, 2, 0xF3F3EE},     {Look::Normal, 20, 22, 0xD6D0C5},
      {Look::Normal, 20, 21, 0xE2DFD6},    {Look::HighLight, 20, 0, 0xE0DCC9},
      {Look::HighLight, 20, 1, 0x003C74},  {Look::HighLight, 20, 2, 0xFFF0CF},
      {Look::HighLight, 20, 22, 0xE59700}, {Look::HighLight, 20, 3, 0xFDD889},
      {Look::HighLight, 20, 21, 0xF8B330}, {Look::Selected, 20, 2, 0xCEE7FF},
      {Look::Selected, 20, 3, 0xCEE7FF},   {Look::Selected, 20, 22, 0x6982EE},
      {Look::Selected, 20, 21, 0x6982EE},  {Look::Pressed, 20, 0, 0xECE9D8},
      {Look::Pressed, 20, 1, 0xE0DCC9},    {Look::Pressed, 20, 2, 0x003C74},
      {Look::Pressed, 20, 3, 0xD1CCC1},    {Look::Pressed, 20, 21, 0xF2F1EE},
      {Look::Pressed, 3, 12, 0xD7D4CA},    {Look::Disable, 20, 0, 0xECE9D8},
      {Look::Disable, 20, 1, 0xC9C7BA},    {Look::Disable, 20, 2, 0xF5F4EA},
      {Look::Disable, 20, 3, 0xF5F4EA},
  };
  for (const auto& r : rows) {
    const auto p = ButtonPicture(r.look);
    EXPECT_EQ(At(p, r.x, r.y), r.rgb) << static_cast<int>(r.look) << " at " << r.x << "," << r.y;
  }
}

TEST(ButtonPictures, SidesRunFromTopToBottomColour) {
  const auto p = ButtonPicture(Look::HighLight);
  // Ring 2 spans rows 2 to 22; half-way down each side has the mean of its two colours.
  EXPECT_EQ(At(p, 2, 12), 0xFCCA68u);   // left: FEDF9A -> F9B435
  EXPECT_EQ(At(p, 61, 12), 0xFBCA68u);  // right: FDE09B -> F8B435
  EXPECT_NE(At(p, 2, 3), At(p, 2, 21));
}

TEST(ButtonPictures, CornersAreBevelled) {
  // The outline does not run into the corner pixel: that one is blended towards ring 0, and
  // the pixels outside take the ring-0 tones.
  for (Look look : {Look::Normal, Look::HighLight, Look::Selected, Look::Disable}) {
    const auto p = ButtonPicture(look);
    const uint32_t outline = At(p, 20, 1);
    for (auto [x, y] : {std::pair{1, 1}, {62, 1}, {1, 23}, {62, 23}}) {
      EXPECT_NE(At(p, x, y), outline) << static_cast<int>(look) << " " << x << "," << y;
    }
    EXPECT_EQ(At(p, 0, 0), At(p, 20, 0));
  }
  const auto pressed = ButtonPicture(Look::Pressed);
  EXPECT_NE(At(pressed, 2, 2), 0x003C74u);
  EXPECT_EQ(At(pressed, 3, 2), 0x003C74u);
}

}  // namespace
}  // namespace button_pictures
