// An X window's GL context through GLX: the window's own visual, a context,
// the swap, and vsync where the driver offers a swap interval.
#pragma once

#include "engine/picture.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <string>

namespace orvane::linux_program {

class GlxSurface final : public engine::GlSurface {
 public:
  GlxSurface(Display* display, Window window) : display_(display), window_(window) {}
  ~GlxSurface() override { Close(); }

  // Checks that the window's visual can carry a double-buffered RGBA context and
  // makes one (not yet current). False with a reason when it cannot.
  bool Prepare(std::string& error);
  // Asks the driver to sync swaps with the display; false when it offers no way.
  bool SetVsync(bool on);

  bool Open(engine::SurfaceSize& size) override;
  void Present() override;
  void Close() override;
  void MakeCurrent() override;
  bool SetSwapInterval(int interval) override;

  static bool VisualSupportsGl(Display* display, XVisualInfo& visual);
  // A top-level window at (x, y) with a double-buffered RGBA visual and a black
  // background; None with a reason when the display offers no such visual.
  static Window CreateWindow(Display* display, int x, int y, int width, int height,
                             bool overrideRedirect, long eventMask, std::string& error);

 private:
  Display* display_;
  Window window_;
  void* context_ = nullptr;  // GLXContext, kept out of this header's includes
};

}  // namespace orvane::linux_program
