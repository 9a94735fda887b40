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

// The calendar second as seed, with the first 20 draws thrown away: how a show's
// first picture starts, so the same second always gives the same veils.
RandomGenerator CalendarSeededRandom(RenderClock& clock);

// One running picture: from set-up in the constructor to teardown in the
// destructor. Without a current context (the surface cannot open) it still
// exists and moves its veils, so the window stays black and still closes on input.
class Picture {
 public:
  // Opens the surface, sets the GL state and draws the veils from `sequence`,
  // which is left where they ended (the next window's picture continues it).
  // The ports must outlive the picture.
  Picture(GlSurface& surface, RenderClock& clock, RandomGenerator& sequence);
  // A picture of its own: its veils from the calendar second.
  Picture(GlSurface& surface, RenderClock& clock);
  // Releases the veils and the GL objects, and closes the surface.
  ~Picture();
  Picture(const Picture&) = delete;
  Picture& operator=(const Picture&) = delete;

  // Viewport and projection for a drawable of this size (set-up does it once;
  // a platform whose window can change size calls it again).
  void Resize(SurfaceSize size);
  // Measures the step, updates the veils, draws them and presents the frame.
  void Step();
  // The next step is measured anew, so time spent away (a dark display) is no
  // step of the motion.
  void RestartFrameClock() { frameClock_ = FrameClock{}; }

  // Whether a context exists and was made current at set-up.
  bool Drawing() const { return drawing_; }
  GlSurface& Surface() const { return surface_; }

 private:
  friend struct PictureTesting;
  void SetGlState(SurfaceSize size);
  void DrawVeil(const Veil& veil);

  GlSurface& surface_;
  RenderClock& clock_;
  bool drawing_ = false;
  std::vector<Veil> veils_;
  FrameClock frameClock_;
  // The vertices go to GL as client arrays, one draw call per veil instead
  // of three calls per vertex; triangles that are black throughout are left out.
  std::vector<MeshVertex> mesh_;
  std::vector<std::uint16_t> stripIndices_;
  std::vector<std::uint16_t> triangles_;
};

}  // namespace orvane::engine
