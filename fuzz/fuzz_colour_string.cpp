// The colour-string conversion of the button's gradient.
//
// Input: the colour string. Its first three bytes also make a six-digit colour
// that must read the same written in every way the conversion accepts.
#include "fuzz/fuzz_check.h"
#include "widgets/command_drawing.h"

#include <cstdint>
#include <cstdio>
#include <string>

using namespace orvane::widgets;

using orvane::widgets::Channels;
using orvane::widgets::ChannelsFromColourString;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const Channels c = ChannelsFromColourString(text);
  // Each channel is an 8-bit value in the high byte.
  FUZZ_CHECK((c.red & 0xFF) == 0 && (c.green & 0xFF) == 0 && (c.blue & 0xFF) == 0);
  FUZZ_CHECK(ChannelsFromColourString(" \t" + text) == c);

  if (size < 3) return 0;
  const std::uint32_t colour = 0x100000u | data[0] << 16 | data[1] << 8 | data[2];
  const Channels expected{static_cast<std::uint16_t>((colour >> 16) << 8),
                          static_cast<std::uint16_t>(((colour >> 8) & 0xFF) << 8),
                          static_cast<std::uint16_t>((colour & 0xFF) << 8)};
  char upper[16], lower[16], decimal[16];
  std::snprintf(upper, sizeof upper, "&H%X", colour);
  std::snprintf(lower, sizeof lower, "&h%x", colour);
  std::snprintf(decimal, sizeof decimal, "%u", colour);
  FUZZ_CHECK(ChannelsFromColourString(upper) == expected);
  FUZZ_CHECK(ChannelsFromColourString(lower) == expected);
  FUZZ_CHECK(ChannelsFromColourString(decimal) == expected);
  return 0;
}
