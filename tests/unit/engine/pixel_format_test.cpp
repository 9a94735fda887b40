#include "engine/pixel_format.h"

#include <gtest/gtest.h>

#include <vector>

using namespace orvane::engine;

namespace {

constexpr std::uint32_t kUsable = kPfdSupportOpenGl | kPfdDrawToWindow | kPfdDoubleBuffer;

PixelFormatTraits Format(std::uint32_t flags, int colorBits, int depthBits,
                         std::uint8_t type = kPfdTypeRgba) {
  PixelFormatTraits f;
  f.flags = flags;
  f.pixelType = type;
  f.colorBits = colorBits;
  f.depthBits = depthBits;
  return f;
}

int Choose(const std::vector<PixelFormatTraits>& formats) {
  return ChoosePixelFormatIndex([&](int index, PixelFormatTraits& traits) {
    if (index < 1 || index > static_cast<int>(formats.size())) return false;
    traits = formats[static_cast<std::size_t>(index - 1)];
    return true;
  });
}

TEST(PixelFormat, Scores) {
  struct Case {
    const char* what;
    PixelFormatTraits format;
    int score;
  };
  const Case cases[] = {
      {"32-bit colour, 24-bit depth, hardware", Format(kUsable, 32, 24), 2072},
      {"24-bit colour penalised by 4", Format(kUsable, 24, 16), 24 + 32 - 4 + 2000},
      {"17-bit colour rounds the penalty to 0", Format(kUsable, 17, 0), 17 + 2000},
      {"16-bit colour, no penalty", Format(kUsable, 16, 16), 48 + 2000},
      {"generic accelerated", Format(kUsable | kPfdGenericFormat | kPfdGenericAccelerated, 32, 24),
       1072},
      {"plain software", Format(kUsable | kPfdGenericFormat, 32, 24), 72},
      {"accelerated flag without generic counts as hardware",
       Format(kUsable | kPfdGenericAccelerated, 16, 0), 2016},
      {"no OpenGL", Format(kPfdDrawToWindow | kPfdDoubleBuffer, 32, 24), 0},
      {"not for windows", Format(kPfdSupportOpenGl | kPfdDoubleBuffer, 32, 24), 0},
      {"single-buffered", Format(kPfdSupportOpenGl | kPfdDrawToWindow, 32, 24), 0},
      {"colour-index", Format(kUsable, 8, 16, 1), 0},
  };
  for (const Case& c : cases) EXPECT_EQ(ScorePixelFormat(c.format), c.score) << c.what;
}

TEST(PixelFormat, Choice) {
  struct Case {
    const char* what;
    std::vector<PixelFormatTraits> formats;
    int index;
  };
  const Case cases[] = {
      {"a single qualifying format", {Format(kUsable, 32, 24)}, 1},
      {"none enumerated", {}, 0},
      {"none qualifies", {Format(kUsable, 32, 24, 1), Format(kPfdDrawToWindow, 32, 24)}, 0},
      {"hardware beats deeper generic",
       {Format(kUsable | kPfdGenericFormat, 32, 32), Format(kUsable, 16, 0),
        Format(kUsable | kPfdGenericFormat | kPfdGenericAccelerated, 32, 32)},
       2},
      {"generic accelerated beats software",
       {Format(kUsable | kPfdGenericFormat, 32, 32),
        Format(kUsable | kPfdGenericFormat | kPfdGenericAccelerated, 16, 0)},
       2},
      {"depth counts twice", {Format(kUsable, 32, 16), Format(kUsable, 16, 24)}, 2},
      {"equal scores keep the lower index", {Format(kUsable, 24, 24), Format(kUsable, 24, 24)}, 1},
      {"later better format wins", {Format(kUsable, 24, 16), Format(kUsable, 32, 24)}, 2},
  };
  for (const Case& c : cases) EXPECT_EQ(Choose(c.formats), c.index) << c.what;
}

TEST(PixelFormat, StopsAtTheFirstMissingIndex) {
  int asked = 0;
  const int chosen = ChoosePixelFormatIndex([&](int index, PixelFormatTraits& traits) {
    ++asked;
    if (index > 3) return false;
    traits = Format(kUsable, 32, 24);
    return true;
  });
  EXPECT_EQ(chosen, 1);
  EXPECT_EQ(asked, 4);
}

}  // namespace
