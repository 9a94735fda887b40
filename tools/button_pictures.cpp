#include "tools/button_pictures.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace button_pictures {
namespace {

constexpr int kWidth = 64;
constexpr int kHeight = 25;
constexpr int kRings = 4;

struct Rgb {
  double r, g, b;
};

constexpr Rgb Hex(uint32_t v) {
  return {static_cast<double>((v >> 16) & 0xFF), static_cast<double>((v >> 8) & 0xFF),
          static_cast<double>(v & 0xFF)};
}

Rgb Mix(Rgb a, Rgb b, double t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

// One ring of the frame. Top and bottom rows are uniform, or change to their "right part"
// colour from the middle on; left and right columns run from `first` at the top to `last`.
struct Ring {
  uint32_t top, topRight, bottom, bottomRight;
  uint32_t leftFirst, leftLast, rightFirst, rightLast;
  bool shadedEnds = false;  // each side darkens towards its two ends (sunken band)
};

constexpr Ring Uniform(uint32_t c) { return {c, c, c, c, c, c, c, c}; }
constexpr Ring Sides(uint32_t top, uint32_t bottom, uint32_t l0, uint32_t l1, uint32_t r0,
                     uint32_t r1) {
  return {top, top, bottom, bottom, l0, l1, r0, r1};
}

constexpr Ring kNormalOuter{0xE0DCC9, 0xDCD6C2, 0xF8F7F0, 0xFAFAF6,
                            0xE2DECB, 0xE2DECB, 0xF0EEE0, 0xF0EEE0};
constexpr uint32_t kOutline = 0x003C74;
constexpr uint32_t kDisabledOutline = 0xC9C7BA;
constexpr uint32_t kGrey = 0xECE9D8;
constexpr uint32_t kSunkenEnd = 0x8E93A8;  // the darker blue-grey at the ends of the sunken band

struct Frame {
  Ring rings[kRings];
  int outline;  // the ring that carries the outline
};

Frame FrameOf(Look look) {
  switch (look) {
    case Look::Normal:
      return {{kNormalOuter, Uniform(kOutline),
               Sides(0xF3F3EE, 0xD6D0C5, 0xFDFDFC, 0xECEBE6, 0xF6F4F2, 0xE0DDD4),
               Sides(0xF3F3EE, 0xE2DFD6, 0xFDFDFC, 0xEBEBE5, 0xFBFBFA, 0xE4E2DA)},
              1};
    case Look::HighLight:
      return {{kNormalOuter, Uniform(kOutline),
               Sides(0xFFF0CF, 0xE59700, 0xFEDF9A, 0xF9B435, 0xFDE09B, 0xF8B435),
               Sides(0xFDD889, 0xF8B330, 0xFCD279, 0xF8B535, 0xFCD279, 0xF8B535)},
              1};
    case Look::Selected: {
      const Ring blue = Sides(0xCEE7FF, 0x6982EE, 0xB7D0F4, 0x8BADE4, 0xB1CCF2, 0x8BAFE5);
      return {{kNormalOuter, Uniform(kOutline), blue, blue}, 1};
    }
    case Look::Pressed: {
      Ring sunken = Sides(0xD1CCC1, 0xF2F1EE, 0xD7D4CA, 0xD7D4CA, 0xE4E3DB, 0xE4E3DB);
      sunken.shadedEnds = true;
      return {{Uniform(kGrey), kNormalOuter, Uniform(kOutline), sunken}, 2};
    }
    case Look::Disable:
      return {{Uniform(kGrey), Uniform(kDisabledOutline), Uniform(0xF5F4EA), Uniform(0xF5F4EA)}, 1};
  }
  return {};
}

enum class Side { Top, Bottom, Left, Right };

// The colour of ring `k` on `side` at pixel (x, y).
Rgb RingColour(const Ring& ring, int k, Side side, int x, int y) {
  Rgb c{};
  double along = 0;  // distance to the nearer end of the side, in pixels
  switch (side) {
    case Side::Top:
    case Side::Bottom: {
      const bool rightPart = x >= kWidth / 2;
      c = Hex(side == Side::Top ? (rightPart ? ring.topRight : ring.top)
                                : (rightPart ? ring.bottomRight : ring.bottom));
      along = std::min(x - k, kWidth - 1 - k - x);
      break;
    }
    case Side::Left:
    case Side::Right: {
      const double t = std::clamp(static_cast<double>(y - k) / (kHeight - 1 - 2 * k), 0.0, 1.0);
      c = side == Side::Left ? Mix(Hex(ring.leftFirst), Hex(ring.leftLast), t)
                             : Mix(Hex(ring.rightFirst), Hex(ring.rightLast), t);
      along = std::min(y - k, kHeight - 1 - k - y);
      break;
    }
  }
  if (ring.shadedEnds && along < 3) c = Mix(c, Hex(kSunkenEnd), (3 - along) / 3 * 0.45);
  return c;
}

Rgb Inside(int y) {
  return Mix(Hex(0xFFFFFF), Hex(0xC6C5D7), static_cast<double>(y) / (kHeight - 1));
}

Rgb PixelColour(const Frame& frame, int x, int y) {
  const int dl = x, dt = y, dr = kWidth - 1 - x, db = kHeight - 1 - y;
  const int dx = std::min(dl, dr);
  const int dy = std::min(dt, db);
  const Side vertical = dt <= db ? Side::Top : Side::Bottom;
  const Side horizontal = dl <= dr ? Side::Left : Side::Right;
  const Side side = dy <= dx ? vertical : horizontal;

  if (dx >= kRings && dy >= kRings) return Inside(y);
  if (dx >= kRings || dy >= kRings) {
    const int k = std::min(dx, dy);
    return RingColour(frame.rings[k], k, side, x, y);
  }
  // Corner block: the outline cuts the corner diagonally; what lies outside it takes the
  // ring-0 tones, and the pixels on the cut blend the two rings they fall between.
  const int diagonal = dx + dy - (frame.outline + 1);
  if (diagonal < 0) return RingColour(frame.rings[0], 0, side, x, y);
  const int k = std::min({dx, dy, diagonal});
  const Rgb own = RingColour(frame.rings[k], k, side, x, y);
  if (diagonal < std::min(dx, dy)) {
    return Mix(own, RingColour(frame.rings[k + 1], k + 1, side, x, y), 0.5);
  }
  return own;
}

uint8_t Channel(double v) { return static_cast<uint8_t>(std::lround(std::clamp(v, 0.0, 255.0))); }

}  // namespace

const std::vector<Asset>& Assets() {
  static const std::vector<Asset> kAssets = {
      {Look::Normal, "button_normal.bmp"},   {Look::HighLight, "button_highlight.bmp"},
      {Look::Pressed, "button_pressed.bmp"}, {Look::Selected, "button_selected.bmp"},
      {Look::Disable, "button_disable.bmp"},
  };
  return kAssets;
}

dialog_pictures::Picture ButtonPicture(Look look) {
  const Frame frame = FrameOf(look);
  dialog_pictures::Picture picture;
  picture.width = kWidth;
  picture.height = kHeight;
  picture.channels = 3;
  picture.pixels.resize(kWidth * kHeight * 3);
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const Rgb c = PixelColour(frame, x, y);
      uint8_t* px = &picture.pixels[(y * kWidth + x) * 3];
      px[0] = Channel(c.r);
      px[1] = Channel(c.g);
      px[2] = Channel(c.b);
    }
  }
  return picture;
}

}  // namespace button_pictures
