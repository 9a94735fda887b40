// The frame benchmark's measurement, the same on every platform: the real frame
// step against a fill-only baseline (the same two blended, textured full-screen
// layers, no simulation), alternating in short blocks so that load from other
// processes hits both alike.
#pragma once

#include <functional>

// Draws the baseline's layers into the current context (the caller presents them).
void DrawFillOnlyLayers();

struct FrameFigures {
  double frameLeast, frameMedian;  // milliseconds per frame
  double fillLeast, fillMedian;
};

// `afterFrame` runs after every frame (message pumping); `seconds` is a monotonic clock.
FrameFigures CompareFrames(int rounds, int frames, const std::function<void()>& frame,
                           const std::function<void()>& fillFrame,
                           const std::function<void()>& afterFrame,
                           const std::function<double()>& seconds);

void PrintFrameFigures(const FrameFigures& figures);
