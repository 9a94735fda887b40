#include "widgets/command_pictures.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

namespace orvane::widgets {
namespace {

using common::TwipsToPixelsAt;

constexpr int kRings = 4;
constexpr int kSamples = 4;  // per axis and pixel: covers the bevelled corners smoothly

using Rgb = common::Colour;
using common::Mix;

constexpr Rgb Hex(uint32_t v) {
  return {static_cast<double>((v >> 16) & 0xFF), static_cast<double>((v >> 8) & 0xFF),
          static_cast<double>(v & 0xFF)};
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

Frame FrameOf(Picture look) {
  switch (look) {
    case Picture::Normal:
      return {{kNormalOuter, Uniform(kOutline),
               Sides(0xF3F3EE, 0xD6D0C5, 0xFDFDFC, 0xECEBE6, 0xF6F4F2, 0xE0DDD4),
               Sides(0xF3F3EE, 0xE2DFD6, 0xFDFDFC, 0xEBEBE5, 0xFBFBFA, 0xE4E2DA)},
              1};
    case Picture::HighLight:
    case Picture::HighLightSelect:
      return {{kNormalOuter, Uniform(kOutline),
               Sides(0xFFF0CF, 0xE59700, 0xFEDF9A, 0xF9B435, 0xFDE09B, 0xF8B435),
               Sides(0xFDD889, 0xF8B330, 0xFCD279, 0xF8B535, 0xFCD279, 0xF8B535)},
              1};
    case Picture::Selected: {
      const Ring blue = Sides(0xCEE7FF, 0x6982EE, 0xB7D0F4, 0x8BADE4, 0xB1CCF2, 0x8BAFE5);
      return {{kNormalOuter, Uniform(kOutline), blue, blue}, 1};
    }
    case Picture::Pressed: {
      Ring sunken = Sides(0xD1CCC1, 0xF2F1EE, 0xD7D4CA, 0xD7D4CA, 0xE4E3DB, 0xE4E3DB);
      sunken.shadedEnds = true;
      return {{Uniform(kGrey), kNormalOuter, Uniform(kOutline), sunken}, 2};
    }
    case Picture::Disable:
      return {{Uniform(kGrey), Uniform(kDisabledOutline), Uniform(0xF5F4EA), Uniform(0xF5F4EA)}, 1};
  }
  return {};
}

// The frame's geometry at one density. Distances from an edge are measured in "ring units":
// ring k spans [k, k + 1), whole pixels wide each (boundaries rounded to pixels, so that the
// straight runs of the frame stay sharp); beyond the frame one unit is a quarter of it.
class Geometry {
 public:
  Geometry(int width, int height, int frame) : width_(width), height_(height), frame_(frame) {
    for (int k = 0; k <= kRings; ++k)
      bounds_[k] = static_cast<int>(std::lround(k * frame / static_cast<double>(kRings)));
  }
  int Width() const { return width_; }
  int Height() const { return height_; }

  // A distance in pixels from an edge, in ring units.
  double RingCoordinate(double pixels) const {
    if (pixels >= frame_) return kRings + (pixels - frame_) * kRings / frame_;
    int k = 0;
    while (k + 1 < kRings && pixels >= bounds_[k + 1]) ++k;
    const int span = std::max(1, bounds_[k + 1] - bounds_[k]);
    return k + (pixels - bounds_[k]) / span;
  }

 private:
  int width_, height_, frame_;
  std::array<int, kRings + 1> bounds_{};
};

enum class Side { Top, Bottom, Left, Right };

// Where a pixel lies, in ring units measured from each edge to its centre (so that at 96 dots
// per inch they are the pixel distances to the four edges).
struct Place {
  double left, right, top, bottom;
  int x, y;
};

// The colour of ring `k` on `side` at `p`.
Rgb RingColour(const Ring& ring, int k, Side side, const Place& p, const Geometry& g) {
  Rgb c{};
  double along = 0;  // distance to the nearer end of the side
  switch (side) {
    case Side::Top:
    case Side::Bottom: {
      const bool rightPart = p.x >= g.Width() / 2;
      c = Hex(side == Side::Top ? (rightPart ? ring.topRight : ring.top)
                                : (rightPart ? ring.bottomRight : ring.bottom));
      along = std::min(p.left - k, p.right - k);
      break;
    }
    case Side::Left:
    case Side::Right: {
      const double t = std::clamp((p.top - k) / (p.top + p.bottom - 2 * k), 0.0, 1.0);
      c = side == Side::Left ? Mix(Hex(ring.leftFirst), Hex(ring.leftLast), t)
                             : Mix(Hex(ring.rightFirst), Hex(ring.rightLast), t);
      along = std::min(p.top - k, p.bottom - k);
      break;
    }
  }
  if (ring.shadedEnds && along < 3) c = Mix(c, Hex(kSunkenEnd), (3 - along) / 3 * 0.45);
  return c;
}

Rgb Inside(int y, int height) {
  return Mix(Hex(0xFFFFFF), Hex(0xC6C5D7), static_cast<double>(y) / (height - 1));
}

// The ring a point lies in, from its distances to the nearer side and end in ring units; the
// outline cuts each corner diagonally, and what lies outside the cut takes ring 0. A point
// right on the cut counts half to each ring beside it.
void AddSample(const Frame& frame, double u, double v, std::array<double, kRings + 1>& weights) {
  if (u >= kRings && v >= kRings) {
    weights[kRings] += 1;
    return;
  }
  const int side = std::min(kRings - 1, static_cast<int>(std::floor(std::min(u, v))));
  const int o = frame.outline;
  if (u >= o + 1 || v >= o + 1) {
    weights[side] += 1;
    return;
  }
  const double cut = u + v - o - 1;
  const double whole = std::floor(cut);
  auto add = [&](double ring, double weight) {
    weights[std::min(side, std::max(0, static_cast<int>(ring)))] += weight;
  };
  if (cut == whole) {
    add(whole - 1, 0.5);
    add(whole, 0.5);
  } else {
    add(whole, 1);
  }
}

Rgb PixelColour(const Frame& frame, const Geometry& g, int x, int y) {
  // Ring units of the pixel's centre, less half a unit: at 96 dots per inch the whole pixel
  // distances to the four edges.
  const Place p{g.RingCoordinate(x + 0.5) - 0.5,
                g.RingCoordinate(g.Width() - x - 0.5) - 0.5,
                g.RingCoordinate(y + 0.5) - 0.5,
                g.RingCoordinate(g.Height() - y - 0.5) - 0.5,
                x,
                y};
  const double dx = std::min(p.left, p.right);
  const double dy = std::min(p.top, p.bottom);
  const Side vertical = p.top <= p.bottom ? Side::Top : Side::Bottom;
  const Side horizontal = p.left <= p.right ? Side::Left : Side::Right;
  const Side side = dy <= dx ? vertical : horizontal;

  std::array<double, kRings + 1> weights{};
  for (int sy = 0; sy < kSamples; ++sy) {
    for (int sx = 0; sx < kSamples; ++sx) {
      const double px = x + (sx + 0.5) / kSamples;
      const double py = y + (sy + 0.5) / kSamples;
      const double u = g.RingCoordinate(std::min(px, g.Width() - px));
      const double v = g.RingCoordinate(std::min(py, g.Height() - py));
      AddSample(frame, u, v, weights);
    }
  }
  // The rings the pixel covers, outermost first, blended by their shares.
  Rgb colour{};
  double covered = 0;
  for (int k = 0; k <= kRings; ++k) {
    if (weights[k] == 0) continue;
    const Rgb own = k == kRings ? Inside(y, g.Height()) : RingColour(frame.rings[k], k, side, p, g);
    covered += weights[k];
    colour = covered == weights[k] ? own : Mix(colour, own, weights[k] / covered);
  }
  return colour;
}

}  // namespace

common::RgbPicture DrawCommandPicture(Picture look, int dpi) {
  const Frame frame = FrameOf(look);
  const Geometry geometry(std::max(2 * kRings, TwipsToPixelsAt(kPictureWidthTwips, dpi)),
                          std::max(2 * kRings, TwipsToPixelsAt(kPictureHeightTwips, dpi)),
                          std::max(kRings, TwipsToPixelsAt(kCornerTwips, dpi)));
  common::RgbPicture picture(geometry.Width(), geometry.Height());
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      picture.Put(x, y, PixelColour(frame, geometry, x, y));
    }
  }
  return picture;
}

}  // namespace orvane::widgets
