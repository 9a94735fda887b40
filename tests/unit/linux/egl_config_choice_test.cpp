#include "linux/egl_config_choice.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace orvane::linux_program;

namespace {

// Configurations as EGL lists them, deepest colour first; each row the index wanted.
TEST(EglConfigChoice, EightBitOpaqueOverDeeperColour) {
  const ConfigChannels rgb10{10, 10, 10, 0}, argb10{10, 10, 10, 2}, rgb8{8, 8, 8, 0},
      argb8{8, 8, 8, 8}, rgb565{5, 6, 5, 0};
  struct Case {
    const char* what;
    std::vector<ConfigChannels> offered;
    std::size_t expected;
  };
  const Case cases[] = {
      // What Mesa's software EGL offers on Wayland: the 10-bit ones come first.
      {"10-bit listed first", {argb10, rgb10, argb8, rgb8, rgb565}, 3},
      {"8-bit opaque alone", {rgb8}, 0},
      {"the first of equals", {argb8, rgb8, rgb8}, 1},
      // No 8-bit opaque one: opaque goes before 8 bits, so the compositor skips blending.
      {"opaque deeper colour over 8-bit alpha", {argb10, argb8, rgb10}, 2},
      {"opaque 16-bit over 8-bit alpha", {argb8, rgb565}, 1},
      {"8-bit alpha over deeper alpha", {argb10, argb8}, 1},
      {"nothing that fits: EGL's first", {argb10}, 0},
      {"none offered", {}, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(ChooseWindowConfig(c.offered), c.expected) << c.what;
}

}  // namespace
