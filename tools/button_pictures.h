#pragma once
// The push button's state pictures, 64 x 25 pixels, 24 bits, drawn ring by ring: only the
// outer four-pixel frame ever reaches the screen; the inside carries the plain gradient.
#include "tools/indicator_pictures.h"

#include <string>
#include <vector>

namespace button_pictures {

enum class Look { Normal, HighLight, Pressed, Selected, Disable };

struct Asset {
  Look look;
  const char* fileName;  // under assets/
};

// The files, one per distinct picture (HighLightSelect reuses HighLight's).
const std::vector<Asset>& Assets();

dialog_pictures::Picture ButtonPicture(Look look);

}  // namespace button_pictures
