#include "engine/pixel_format.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace pixel_flags;
constexpr std::uint32_t usable = supportOpenGL | drawToWindow | doubleBuffer;

PixelFormatTraits format(std::uint32_t flags, int colorBits, int depthBits,
                         std::uint8_t type = typeRgba) {
  PixelFormatTraits f;
  f.flags = flags;
  f.pixelType = type;
  f.colorBits = colorBits;
  f.depthBits = depthBits;
  return f;
}

int choose(const std::vector<PixelFormatTraits>& formats) {
  return choosePixelFormatIndex([&](int index, PixelFormatTraits& traits) {
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
      {"32-bit colour, 24-bit depth, hardware", format(usable, 32, 24), 2072},
      {"24-bit colour penalised by 4", format(usable, 24, 16), 24 + 32 - 4 + 2000},
      {"17-bit colour rounds the penalty to 0", format(usable, 17, 0), 17 + 2000},
      {"16-bit colour, no penalty", format(usable, 16, 16), 48 + 2000},
      {"generic accelerated", format(usable | genericFormat | genericAccelerated, 32, 24), 1072},
      {"plain software", format(usable | genericFormat, 32, 24), 72},
      {"accelerated flag without generic counts as hardware",
       format(usable | genericAccelerated, 16, 0), 2016},
      {"no OpenGL", format(drawToWindow | doubleBuffer, 32, 24), 0},
      {"not for windows", format(supportOpenGL | doubleBuffer, 32, 24), 0},
      {"single-buffered", format(supportOpenGL | drawToWindow, 32, 24), 0},
      {"colour-index", format(usable, 8, 16, 1), 0},
  };
  for (const Case& c : cases) EXPECT_EQ(scorePixelFormat(c.format), c.score) << c.what;
}

TEST(PixelFormat, Choice) {
  struct Case {
    const char* what;
    std::vector<PixelFormatTraits> formats;
    int index;
  };
  const Case cases[] = {
      {"a single qualifying format", {format(usable, 32, 24)}, 1},
      {"none enumerated", {}, 0},
      {"none qualifies", {format(usable, 32, 24, 1), format(drawToWindow, 32, 24)}, 0},
      {"hardware beats deeper generic",
       {format(usable | genericFormat, 32, 32), format(usable, 16, 0),
        format(usable | genericFormat | genericAccelerated, 32, 32)},
       2},
      {"generic accelerated beats software",
       {format(usable | genericFormat, 32, 32),
        format(usable | genericFormat | genericAccelerated, 16, 0)},
       2},
      {"depth counts twice", {format(usable, 32, 16), format(usable, 16, 24)}, 2},
      {"equal scores keep the lower index", {format(usable, 24, 24), format(usable, 24, 24)}, 1},
      {"later better format wins", {format(usable, 24, 16), format(usable, 32, 24)}, 2},
  };
  for (const Case& c : cases) EXPECT_EQ(choose(c.formats), c.index) << c.what;
}

TEST(PixelFormat, StopsAtTheFirstMissingIndex) {
  int asked = 0;
  const int chosen = choosePixelFormatIndex([&](int index, PixelFormatTraits& traits) {
    ++asked;
    if (index > 3) return false;
    traits = format(usable, 32, 24);
    return true;
  });
  EXPECT_EQ(chosen, 1);
  EXPECT_EQ(asked, 4);
}

}  // namespace
