#pragma once
// Geometry and painting rules of the settings dialog "<Orvane>", free of any
// window system: control places, the opening position, the background
// gradients, the mode hit areas and the keyboard focus order.
#include "common/twips.h"

#include <array>
#include <cstdint>

namespace orvane::dialog {

struct TwipRect {
  int left, top, width, height;
};

struct PixelRect {
  int x, y, width, height;
  bool Contains(int px, int py) const {
    return px >= x && px < x + width && py >= y && py < y + height;
  }
};

// A place in pixels on a display of `dpi` dots per inch. Its edges are converted, not its
// size, so that places that touch in twips touch on the screen at every density. At 96 dots
// per inch the stored places are whole pixels at 15 twips per pixel.
constexpr PixelRect ToPixels(TwipRect r, int dpi = common::kDefaultDpi) {
  const int x = common::TwipsToPixelsAt(r.left, dpi);
  const int y = common::TwipsToPixelsAt(r.top, dpi);
  return {x, y, common::TwipsToPixelsAt(r.left + r.width, dpi) - x,
          common::TwipsToPixelsAt(r.top + r.height, dpi) - y};
}

// Client area of the dialog.
constexpr TwipRect kClient{0, 0, 7185, 3780};

// Places of the stored layout; each comment is the control's name there,
// by which the layout test names its rows.

// On the dialog itself.
constexpr TwipRect kMusicPanel{180, 240, 6795, 2535};         // Pic_C
constexpr TwipRect kOtherWorksButton{2880, 3000, 1875, 375};  // Cmd_Etc
constexpr TwipRect kSaveButton{4800, 3000, 1095, 375};        // Cmd_Set
constexpr TwipRect kCancelButton{5940, 3000, 1035, 375};      // Cmd_Can
constexpr TwipRect kCreditLabel{180, 2940, 2475, 195};

// Inside the music panel, relative to it.
constexpr TwipRect kHeadingBox{300, 300, 1695, 315};  // Shape3
constexpr TwipRect kHeadingLabel{300, 360, 1665, 195};
constexpr TwipRect kRepeatBox{1380, 780, 615, 300};  // BGM_Repeat
constexpr TwipRect kRepeatLabel{2040, 840, 990, 195};
constexpr TwipRect kBrowseButton{540, 1740, 435, 315};     // Cmd_BGM
constexpr TwipRect kFileNameLabel{1020, 1740, 5355, 435};  // lbl_Fname
// Indexed by music mode: 0 none, 1 audio CD, 2 music file.
constexpr std::array<TwipRect, 3> kModeIndicators{
    // Img_BGM(0..2)
    {{300, 1140, 195, 195}, {300, 840, 195, 195}, {300, 1440, 195, 195}}};
constexpr std::array<TwipRect, 3> kModeLabels{
    // lbl_BGM(0..2)
    {{540, 1140, 345, 195}, {540, 840, 645, 195}, {540, 1440, 900, 195}}};

// The music mode whose indicator or label lies under a point of the music panel (pixels at
// `dpi` dots per inch), or -1.
int ModeAt(int x, int y, int dpi = common::kDefaultDpi);

// Where the dialog opens, in screen pixels: centred across, one third of the
// free height from the top. Computed in twips with the quotients truncated
// toward zero, as the stored layout always did; a dialog larger than the
// screen gets a negative place.
struct Point {
  int x, y;
};
Point DialogPosition(int screenWidth, int screenHeight, int windowWidth, int windowHeight);

// Background gradients: brightness c of row y of a client area `height`
// pixels high; darkest at the top and bottom rows, brightest in the middle.
int GradientLevel(int y, int height);

struct Rgb {
  int r, g, b;
  bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
};
Rgb DialogGradientColour(int y, int height);  // blue tint
Rgb PanelGradientColour(int y, int height);   // grey

// Keyboard focus: the controls that take it, in tab order.
enum class FocusStop {
  MusicPanel,
  RepeatBox,
  BrowseButton,
  SaveButton,
  CancelButton,
  OtherWorksButton
};
constexpr int kFocusStopCount = 6;

// The next (or, going back, previous) stop after `from` that can take the
// focus; `from` itself when no other one can.
template <typename CanFocus>
FocusStop NextFocusStop(FocusStop from, bool forward, CanFocus canFocus) {
  int i = static_cast<int>(from);
  for (int step = 0; step < kFocusStopCount - 1; ++step) {
    i = (i + (forward ? 1 : kFocusStopCount - 1)) % kFocusStopCount;
    if (canFocus(static_cast<FocusStop>(i))) return static_cast<FocusStop>(i);
  }
  return from;
}

}  // namespace orvane::dialog
