#include "dialog/dialog_layout.h"

#include <gtest/gtest.h>

#include <vector>

using namespace orvane::dialog;

namespace orvane::dialog {
namespace {

bool Same(PixelRect a, PixelRect b) {
  return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
}

TEST(DialogLayout, PlacesInPixels) {
  struct Case {
    const char* name;
    TwipRect twips;
    PixelRect pixels;
  };
  for (const Case& c : std::vector<Case>{{"client", kClient, {0, 0, 479, 252}},
                                         {"Pic_C", kMusicPanel, {12, 16, 453, 169}},
                                         {"Cmd_Etc", kOtherWorksButton, {192, 200, 125, 25}},
                                         {"Cmd_Set", kSaveButton, {320, 200, 73, 25}},
                                         {"Cmd_Can", kCancelButton, {396, 200, 69, 25}},
                                         {"credit", kCreditLabel, {12, 196, 165, 13}},
                                         {"Shape3", kHeadingBox, {20, 20, 113, 21}},
                                         {"BGM_Repeat", kRepeatBox, {92, 52, 41, 20}},
                                         {"Cmd_BGM", kBrowseButton, {36, 116, 29, 21}},
                                         {"lbl_Fname", kFileNameLabel, {68, 116, 357, 29}},
                                         {"Img_BGM(1)", kModeIndicators[1], {20, 56, 13, 13}},
                                         {"lbl_BGM(0)", kModeLabels[0], {36, 76, 23, 13}},
                                         {"lbl_BGM(2)", kModeLabels[2], {36, 96, 60, 13}}}) {
    EXPECT_TRUE(Same(ToPixels(c.twips), c.pixels)) << c.name;
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
