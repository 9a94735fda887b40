#include "dialog/dialog_layout.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

using namespace orvane::dialog;
using orvane::common::kTwipsPerPixel;

namespace orvane::dialog {
namespace {

struct Place {
  const char* name;
  TwipRect twips;
};

// The controls on the dialog itself, and those inside Pic_C (relative to it).
const std::vector<Place> kOnDialog{{"Pic_C", kMusicPanel},
                                   {"Cmd_Etc", kOtherWorksButton},
                                   {"Cmd_Set", kSaveButton},
                                   {"Cmd_Can", kCancelButton},
                                   {"credit", kCreditLabel}};
const std::vector<Place> kInPicC{
    {"BGM_Repeat", kRepeatBox},         {"lbl_Repeat", kRepeatLabel},
    {"Cmd_BGM", kBrowseButton},         {"lbl_Fname", kFileNameLabel},
    {"Img_BGM(0)", kModeIndicators[0]}, {"Img_BGM(1)", kModeIndicators[1]},
    {"Img_BGM(2)", kModeIndicators[2]}, {"lbl_BGM(0)", kModeLabels[0]},
    {"lbl_BGM(1)", kModeLabels[1]},     {"lbl_BGM(2)", kModeLabels[2]}};

bool Inside(PixelRect inner, PixelRect outer) {
  return inner.x >= 0 && inner.y >= 0 && inner.x + inner.width <= outer.width &&
         inner.y + inner.height <= outer.height;
}

bool Overlap(PixelRect a, PixelRect b) {
  return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
}

// A slip in the stored table shows as a control off its parent, on top of
// another one, or at a place that is not a whole pixel.
TEST(DialogLayout, EveryControlFitsItsParentAndNoneOverlap) {
  EXPECT_EQ(ToPixels(kClient).width, 479);  // the client size the dialog is known by
  EXPECT_EQ(ToPixels(kClient).height, 252);
  for (const auto& [places, parent] :
       {std::pair{kOnDialog, ToPixels(kClient)}, std::pair{kInPicC, ToPixels(kMusicPanel)}}) {
    for (std::size_t i = 0; i < places.size(); ++i) {
      const TwipRect t = places[i].twips;
      EXPECT_TRUE(t.left % kTwipsPerPixel == 0 && t.top % kTwipsPerPixel == 0 &&
                  t.width % kTwipsPerPixel == 0 && t.height % kTwipsPerPixel == 0)
          << places[i].name << " is not on whole pixels";
      EXPECT_TRUE(Inside(ToPixels(t), parent)) << places[i].name;
      for (std::size_t j = i + 1; j < places.size(); ++j) {
        EXPECT_FALSE(Overlap(ToPixels(t), ToPixels(places[j].twips)))
            << places[i].name << " and " << places[j].name;
      }
    }
  }
}

TEST(DialogLayout, RowsLineUp) {
  // The three buttons in one row of one height.
  for (const TwipRect& b : {kSaveButton, kCancelButton}) {
    EXPECT_EQ(b.top, kOtherWorksButton.top);
    EXPECT_EQ(b.height, kOtherWorksButton.height);
  }
  // Each indicator in one column, level with its label.
  for (int mode = 0; mode < 3; ++mode) {
    EXPECT_EQ(kModeIndicators[mode].left, kModeIndicators[0].left) << mode;
    EXPECT_EQ(kModeIndicators[mode].top, kModeLabels[mode].top) << mode;
  }
}

TEST(DialogLayout, ModeUnderThePointer) {
  struct Case {
    int x, y, mode;
  };
  for (const Case& c : std::vector<Case>{{20, 56, 1},   // indicator of the audio CD, top left
                                         {32, 68, 1},   // its bottom right pixel
                                         {33, 60, -1},  // between indicator and label
                                         {36, 60, 1},   // label "音楽CD"
                                         {78, 68, 1},   // its last pixel
                                         {79, 60, -1},
                                         {40, 80, 0},   // label "無し"
                                         {25, 100, 2},  // indicator of the music file
                                         {95, 108, 2},  // label "MP3、WAV"
                                         {25, 70, -1},  // gap between two indicators
                                         {0, 0, -1}}) {
    EXPECT_EQ(ModeAt(c.x, c.y), c.mode) << c.x << "," << c.y;
  }
}

// At D dots per inch a twip is D/1440 pixels: 1.5 and 2 times the 96 places, edges rounded
// down so that neighbours still touch.
TEST(DialogLayout, PlacesAtOtherDensities) {
  struct Case {
    int dpi;
    TwipRect twips;
    PixelRect pixels;
  } cases[] = {{144, kClient, {0, 0, 718, 378}},        {192, kClient, {0, 0, 958, 504}},
               {120, kClient, {0, 0, 598, 315}},        {144, kSaveButton, {480, 300, 109, 37}},
               {192, kSaveButton, {640, 400, 146, 50}}, {144, kModeIndicators[1], {30, 84, 19, 19}},
               {192, kMusicPanel, {24, 32, 906, 338}}};
  for (const Case& c : cases) {
    const PixelRect p = ToPixels(c.twips, c.dpi);
    EXPECT_EQ(p.x, c.pixels.x) << c.dpi;
    EXPECT_EQ(p.y, c.pixels.y) << c.dpi;
    EXPECT_EQ(p.width, c.pixels.width) << c.dpi;
    EXPECT_EQ(p.height, c.pixels.height) << c.dpi;
  }
  // Every place at 96 is the plain division by 15, as it always was.
  for (const Place& place : kOnDialog) {
    const PixelRect p = ToPixels(place.twips, 96);
    EXPECT_EQ(p.width, place.twips.width / 15) << place.name;
    EXPECT_EQ(p.x, place.twips.left / 15) << place.name;
  }
}

TEST(DialogLayout, ModeHitAreasFollowTheDensity) {
  struct Case {
    int dpi, x, y, mode;
  } cases[] = {
      {144, 30, 84, 1},   {144, 48, 102, 1}, {144, 50, 90, -1},   // indicator of the audio CD
      {144, 60, 120, 0},  {144, 40, 150, 2}, {192, 48, 168, 0},   // labels and indicators
      {192, 100, 120, 1}, {192, 40, 112, 1}, {192, 40, 140, -1},  // between two rows
      {96, 30, 84, 0},  // at 96 the same point is another choice
  };
  for (const Case& c : cases)
    EXPECT_EQ(ModeAt(c.x, c.y, c.dpi), c.mode) << c.dpi << ": " << c.x << "," << c.y;
}

TEST(DialogLayout, OpeningPosition) {
  struct Case {
    int sw, sh, ww, wh, x, y;
  };
  for (const Case& c :
       std::vector<Case>{{1024, 768, 487, 281, 268, 162},  // 8055 / 2 = 4027 twips: 268.47 px
                         {1024, 768, 486, 280, 269, 163},
                         {400, 300, 487, 281, -43, 6},  // wider: -652.5 twips truncated to -652
                         {400, 200, 487, 281, -43, -27}}) {
    const Point p = DialogPosition(c.sw, c.sh, c.ww, c.wh);
    EXPECT_EQ(p.x, c.x) << c.sw << "x" << c.sh;
    EXPECT_EQ(p.y, c.y) << c.sw << "x" << c.sh;
  }
}

TEST(DialogLayout, Gradients) {
  EXPECT_EQ(GradientLevel(0, 252), 0);
  EXPECT_EQ(GradientLevel(252, 252), 0);
  EXPECT_EQ(GradientLevel(126, 252), 220);
  EXPECT_EQ(GradientLevel(63, 252), 156);  // 220 * sin(pi / 4) = 155.6
  EXPECT_EQ(DialogGradientColour(0, 252), (Rgb{0, 0, 30}));
  EXPECT_EQ(DialogGradientColour(126, 252), (Rgb{220, 220, 250}));
  EXPECT_EQ(PanelGradientColour(0, 169), (Rgb{30, 30, 30}));
  EXPECT_EQ(PanelGradientColour(84, 169), (Rgb{250, 250, 250}));
  EXPECT_EQ(GradientLevel(0, 0), 0);
}

TEST(DialogLayout, FocusOrderSkipsDisabledControls) {
  const auto all = [](FocusStop) { return true; };
  const auto cdMode = [](FocusStop s) { return s != FocusStop::BrowseButton; };
  const auto noneMode = [](FocusStop s) {
    return s != FocusStop::BrowseButton && s != FocusStop::RepeatBox;
  };
  EXPECT_EQ(NextFocusStop(FocusStop::MusicPanel, true, all), FocusStop::RepeatBox);
  EXPECT_EQ(NextFocusStop(FocusStop::OtherWorksButton, true, all), FocusStop::MusicPanel);
  EXPECT_EQ(NextFocusStop(FocusStop::MusicPanel, false, all), FocusStop::OtherWorksButton);
  EXPECT_EQ(NextFocusStop(FocusStop::RepeatBox, true, cdMode), FocusStop::SaveButton);
  EXPECT_EQ(NextFocusStop(FocusStop::MusicPanel, true, noneMode), FocusStop::SaveButton);
  EXPECT_EQ(NextFocusStop(FocusStop::SaveButton, false, noneMode), FocusStop::MusicPanel);
  EXPECT_EQ(NextFocusStop(FocusStop::SaveButton, true, [](FocusStop) { return false; }),
            FocusStop::SaveButton);
}

}  // namespace
}  // namespace orvane::dialog
