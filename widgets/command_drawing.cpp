#include "widgets/command_drawing.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>

namespace orvane::widgets {

std::array<FramePiece, 8> FramePieces(int w, int h) {
  const int c = kCornerTwips;
  const int edgeW = std::max(0, w - 2 * c);
  const int edgeH = std::max(0, h - 2 * c);
  const int farX = w - c;
  const int farY = h - c;
  // Source rectangles within the 960 x 375 picture; the 1-twip offsets are below a pixel.
  return {{
      {{1, 1, c, c}, {0, 0, c, c}},
      {{c, 1, edgeW, c}, {c, 1, 840, c}},
      {{farX, 1, c, c}, {900, 1, c, c}},
      {{farX, c, c, edgeH}, {900, c, c, 255}},
      {{farX, farY, c, c}, {900, 315, c, c}},
      {{c, farY, edgeW, c}, {c, 315, 840, c}},
      {{1, farY, c, c}, {0, 315, c, c}},
      {{1, c, c, edgeH}, {1, c, c, 255}},
  }};
}

Rect ToPixels(const Rect& t) {
  return {TwipsToPixels(t.x), TwipsToPixels(t.y), TwipsToPixels(t.width), TwipsToPixels(t.height)};
}

namespace {

int HexDigit(char ch) {
  if (ch >= '0' && ch <= '9') return ch - '0';
  ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  if (ch >= 'A' && ch <= 'F') return ch - 'A' + 10;
  return -1;
}

// The numeric value of a colour string: "&H" followed by hexadecimal digits, or a decimal
// number; reading stops at the first character that does not fit.
int64_t NumericValue(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  if (i + 1 < text.size() && text[i] == '&' && (text[i + 1] == 'H' || text[i + 1] == 'h')) {
    uint64_t v = 0;
    for (i += 2; i < text.size() && HexDigit(text[i]) >= 0; ++i) {
      v = (v << 4) | static_cast<uint64_t>(HexDigit(text[i]));
      if (v > 0xFFFFFFFFu) return 0;  // beyond 32 bits: not a colour
    }
    return static_cast<int64_t>(v);
  }
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  int64_t v = 0;
  for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
    v = v * 10 + (text[i] - '0');
    if (v > 0xFFFFFFFFLL) return 0;
  }
  return negative ? -v : v;
}

// Mid$-like: up to two characters from 0-based position `from`, then "00", read as hex.
uint16_t PairChannel(const std::string& hex, size_t from) {
  const std::string pair = from < hex.size() ? hex.substr(from, 2) : std::string();
  unsigned v = 0;
  for (char ch : pair + "00") v = (v << 4) | static_cast<unsigned>(HexDigit(ch));
  return static_cast<uint16_t>(v);
}

}  // namespace

Channels ChannelsFromColourString(const std::string& text) {
  const int64_t value = NumericValue(text);
  char hex[16];
  std::snprintf(hex, sizeof hex, "%X", static_cast<uint32_t>(value));
  const std::string digits(hex);
  return {PairChannel(digits, 0), PairChannel(digits, 2), PairChannel(digits, 4)};
}

Gradient BackgroundGradient(bool invertGradient) {
  const Channels light = ChannelsFromColourString(kGradientLight);
  const Channels dark = ChannelsFromColourString(kGradientDark);
  return invertGradient ? Gradient{dark, light} : Gradient{light, dark};
}

}  // namespace orvane::widgets
