// Choice of the window's pixel format, kept apart from WGL so it can be tested.
#pragma once

#include <cstdint>
#include <functional>

namespace orvane::engine {

// The descriptor fields the choice looks at, with the platform's flag values.
struct PixelFormatTraits {
  std::uint32_t flags = 0;
  std::uint8_t pixelType = 0;
  int colorBits = 0;
  int depthBits = 0;
};

constexpr std::uint32_t kPfdDoubleBuffer = 0x00000001;        // PFD_DOUBLEBUFFER
constexpr std::uint32_t kPfdDrawToWindow = 0x00000004;        // PFD_DRAW_TO_WINDOW
constexpr std::uint32_t kPfdSupportOpenGl = 0x00000020;       // PFD_SUPPORT_OPENGL
constexpr std::uint32_t kPfdGenericFormat = 0x00000040;       // PFD_GENERIC_FORMAT
constexpr std::uint32_t kPfdGenericAccelerated = 0x00001000;  // PFD_GENERIC_ACCELERATED
constexpr std::uint8_t kPfdTypeRgba = 0;                      // PFD_TYPE_RGBA

// Score of one format; 0 when it cannot serve (not double-buffered RGBA OpenGL in a window).
int ScorePixelFormat(const PixelFormatTraits& format);

// Walks formats 1, 2, 3, ... while describe(index, traits) reports one, and
// returns the index of the best score (the lowest index among equals), or 0
// when none qualifies.
int ChoosePixelFormatIndex(
    const std::function<bool(int index, PixelFormatTraits& traits)>& describe);

}  // namespace orvane::engine
