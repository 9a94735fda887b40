#pragma once
// The music choices' indicators, drawn at any display density: at 96 dots per inch the
// 12 x 12 pixel pictures the committed assets hold, at D dots per inch the same drawing at
// D/96 of that size (frame and ring as many whole pixels thick), never a small one stretched.
#include "common/rgb_picture.h"

namespace orvane::dialog {

// 180 twips square (12 pixels at 96 dots per inch), drawn into the 195-twip indicator place.
inline constexpr int kIndicatorPictureTwips = 180;

// The indicator of a mode that is not chosen (false) or chosen (true).
common::RgbPicture DrawModeIndicator(bool selected, int dpi);

}  // namespace orvane::dialog
