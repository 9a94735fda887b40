#pragma once
// Measures and colours of the button's look: the eight frame pieces taken from a state picture,
// the background gradient and the caption's place. All in twips unless named otherwise.
#include "common/twips.h"

#include <array>
#include <cstdint>
#include <string>

namespace orvane::widgets {

// The state pictures; Pressed and Disable are looks, never states.
enum class Picture : uint8_t { Normal, HighLight, Pressed, Selected, HighLightSelect, Disable };

constexpr int kCornerTwips = 60;  // the four-pixel frame
constexpr int kPictureWidthTwips = 960;
constexpr int kPictureHeightTwips = 375;
constexpr int kPictureWidth = 64;   // pixels
constexpr int kPictureHeight = 25;  // pixels
constexpr int kCaptionHeightTwips = 195;
constexpr int kCaptionLiftTwips = 20;

struct Rect {
  int x, y, width, height;
  bool operator==(const Rect& o) const {
    return x == o.x && y == o.y && width == o.width && height == o.height;
  }
};

struct FramePiece {
  Rect dest;    // on the surface
  Rect source;  // in the picture
};

// The pieces in painting order: top-left, top, top-right, right, bottom-right, bottom,
// bottom-left, left. Corners are copied 1:1; edges stretch to the surface. Edge lengths
// below zero (a surface smaller than two corners) are taken as zero.
std::array<FramePiece, 8> FramePieces(int widthTwips, int heightTwips);

// Twips (not negative) to whole pixels; parts of a pixel fall away, so the 1-twip offsets
// land on pixel 0.
constexpr int TwipsToPixels(int twips) { return twips / common::kTwipsPerPixel; }
Rect ToPixels(const Rect& twips);

// Top of the caption label: 10 twips above the vertical middle.
constexpr double CaptionTopTwips(int heightTwips) {
  return (heightTwips - kCaptionHeightTwips - kCaptionLiftTwips) / 2.0;
}

// One gradient channel: the 8-bit value in the high byte.
struct Channels {
  uint16_t red, green, blue;
  bool operator==(const Channels& o) const {
    return red == o.red && green == o.green && blue == o.blue;
  }
};

// A colour string such as "&HC6C5D7" read as red, green, blue digit pairs of its upper-case
// hexadecimal rendering without leading zeros. A value of fewer than six digits therefore
// shifts (only six-digit colours are used). A string that is not a number reads as 0.
Channels ChannelsFromColourString(const std::string& text);

constexpr char kGradientLight[] = "&HFFFFFF";
constexpr char kGradientDark[] = "&HC6C5D7";

struct Gradient {
  Channels top, bottom;
};
// White on top unless inverted.
Gradient BackgroundGradient(bool invertGradient);

}  // namespace orvane::widgets
