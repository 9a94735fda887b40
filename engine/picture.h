// The picture in OpenGL 1.1: fixed GL state, the streak texture, the veils, and
// one frame per call. Platform-free: the window's context and the time come
// through the two ports below, so the same code draws under WGL and GLX.
#pragma once

#include "engine/frame_clock.h"
#include "engine/veil.h"
#include "engine/veil_mesh.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace orvane::engine {

struct SurfaceSize {
  int width = 0;
  int height = 0;
};

// The window's GL context, kept by the platform back end (WGL, GLX).
class GlSurface {
 public:
  virtual ~GlSurface() = default;
  // Prepares the window for GL and makes a context current on this thread;
  // false when there is none to draw with. `size` receives the drawable size.
  virtual bool Open(SurfaceSize& size) = 0;
  virtual void Present() = 0;  // shows the finished frame (buffer swap)
  virtual void Close() = 0;    // releases the context; nothing is current afterwards
  // With several windows, each frame makes its window's context current first.
  virtual void MakeCurrent() {}
  // Refreshes to wait for at each swap (0: none); false where the driver offers no say.
  virtual bool SetSwapInterval(int) { return false; }
  // Whether the swap waits for the display: the driver offers swap control and its
  // interval asks to wait. False where there is no swap control.
  virtual bool SwapWaitsForDisplay() { return false; }
};

// Time for the frame clock and the seed.
class RenderClock {
 public:
  virtual ~RenderClock() = default;
  virtual std::uint32_t Milliseconds() = 0;  // a wrapping counter; only differences count
  virtual std::uint32_t CalendarSeconds();   // whole seconds of the calendar time
};

// Everything one running picture owns, from set-up to teardown.
struct Rendering {
  GlSurface* surface = nullptr;
  RenderClock* clock = nullptr;
  bool drawing = false;  // the context exists and is current on this thread
  unsigned texture = 0;
  RandomGenerator random;
  std::vector<Veil> veils;
  FrameClock frameClock;
  // The vertices go to GL as client arrays, one draw call per veil instead
  // of three calls per vertex; triangles that are black throughout are left out.
  std::vector<MeshVertex> mesh;
  std::vector<std::uint16_t> stripIndices;
  std::vector<std::uint16_t> triangles;
};

// Seeds the generator from the calendar, opens the surface, sets the GL state
// and builds the veils. The ports must outlive the returned state. With
// `continueFrom`, the veils are drawn from that generator instead, which is then
// left where they ended (the next window's picture continues the sequence).
std::unique_ptr<Rendering> SetUpRendering(GlSurface& surface, RenderClock& clock,
                                          RandomGenerator* continueFrom = nullptr);
// Viewport and projection for a drawable of this size (set-up does it once;
// a platform whose window can change size calls it again).
void ResizeRendering(Rendering& rendering, SurfaceSize size);
// Measures the step, updates the veils, draws them and presents the frame.
void FrameStep(Rendering& rendering);
// Releases the veils and the surface; later frames do nothing.
void TearDownRendering(Rendering& rendering);

}  // namespace orvane::engine
