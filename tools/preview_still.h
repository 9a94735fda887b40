// The still picture of the preview: one frame of the show, drawn in software
// from the engine's own veils and mesh with the engine's camera, texture and
// additive blending, so it looks like the show without needing a GL context.
#pragma once

#include <cstdint>
#include <vector>

struct StillImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgb;  // rows top to bottom, 3 bytes a pixel
};

struct StillFrame {
  std::uint32_t seed;  // what the engine seeds its generator with
  int frames;          // frames of kFrameMs each before the picture is taken
};

constexpr int kFrameMs = 16;

// The chosen frame: both veils in the magenta to pink part of the hue circle.
constexpr StillFrame kPreviewFrame{1, 780};

// Draws the frame at width x height, with supersample^2 samples a pixel
// (the box filter stands in for the engine's mipmaps at this small size).
StillImage DrawStill(const StillFrame& frame, int width, int height, int supersample);

// Hues (0..1) of the two veils at that frame, for choosing one.
void StillHues(const StillFrame& frame, float hues[2], float saturations[2]);
