#pragma once

namespace orvane::common {
// The unit the dialog and the button were laid out in: 15 twips to the pixel
// at 96 dots per inch, the density their pictures were made for.

inline constexpr int kTwipsPerPixel = 15;
inline constexpr int kTwipsPerInch = 1440;
inline constexpr int kDefaultDpi = 96;

// Twips to whole pixels on a display of `dpi` dots per inch: D/1440 pixels a
// twip. Parts of a pixel fall away (toward minus infinity, so that adjacent
// places stay adjacent); at 96 this is the plain division by 15.
constexpr int TwipsToPixelsAt(int twips, int dpi) {
  const long long scaled = static_cast<long long>(twips) * dpi;
  const long long whole = scaled / kTwipsPerInch;
  return static_cast<int>(scaled % kTwipsPerInch < 0 ? whole - 1 : whole);
}

// Pixels back to twips at `dpi`: what a control of that many pixels measures.
constexpr int PixelsToTwipsAt(int pixels, int dpi) {
  return dpi > 0 ? static_cast<int>(static_cast<long long>(pixels) * kTwipsPerInch / dpi) : 0;
}

}  // namespace orvane::common
