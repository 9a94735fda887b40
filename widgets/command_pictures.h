#pragma once
// The button's state pictures, drawn ring by ring at any display density: at 96 dots per inch
// the 64 x 25 pixel pictures with a four-pixel frame (the committed assets are this drawing),
// at D dots per inch the same frame drawn afresh at D/96 of that size, so that a scaled
// display gets sharp edges rather than a small picture stretched. Only the outer frame ever
// reaches the screen; the inside carries the plain gradient.
#include "common/rgb_picture.h"
#include "widgets/command_drawing.h"

namespace orvane::widgets {

// The picture `look` for a display of `dpi` dots per inch (HighLightSelect draws HighLight's).
// Its size is 960 x 375 twips and its frame 60 twips at that density, in whole pixels.
common::RgbPicture DrawCommandPicture(Picture look, int dpi);

}  // namespace orvane::widgets
