#pragma once

namespace orvane::common {
// The unit the dialog and the button were laid out in: 15 twips to the pixel
// at 96 dots per inch, the density their pictures were made for.

inline constexpr int kTwipsPerPixel = 15;

}  // namespace orvane::common
