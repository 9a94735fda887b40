// Frame benchmark of the Linux program's drawing: the real frame step against
// the fill-only baseline, in one X window of the Windows benchmark's size,
// without vsync. Needs an X display (an Xvfb with Mesa for figures comparable
// with the Windows engine under Wine).
//
//   engine_x11_frame_bench [ROUNDS [FRAMES]]   prints per-frame times and their ratio
#include "bench/frame_compare.h"
#include "engine/picture.h"
#include "linux/glx_surface.h"
#include "linux/posix_clock.h"

#include <GL/gl.h>
#include <X11/Xlib.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <string>

using namespace orvane::engine;
using namespace orvane::linux_program;

namespace {

constexpr int kWidth = 1024, kHeight = 768;

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 40;
  const int frames = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;

  Display* display = XOpenDisplay(nullptr);
  if (!display) {
    std::fprintf(stderr, "cannot open the display\n");
    return 1;
  }
  std::string error;
  const Window window = GlxSurface::CreateWindow(display, 0, 0, kWidth, kHeight, true, 0, error);
  if (window == None) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }
  XMapRaised(display, window);
  XSync(display, False);

  GlxSurface surface(display, window);
  if (!surface.Prepare(error)) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }
  MonotonicClock clock;
  auto picture = std::make_unique<Picture>(surface, clock);
  surface.SetVsync(false);
  std::printf("renderer: %s, window %dx%d, %d rounds of %d frames\n",
              reinterpret_cast<const char*>(glGetString(GL_RENDERER)), kWidth, kHeight, rounds,
              frames);
  auto pump = [display] {
    while (XPending(display)) {
      XEvent event;
      XNextEvent(display, &event);
    }
  };
  PrintFrameFigures(CompareFrames(
      rounds, frames, [&] { picture->Step(); },
      [&] {
        DrawFillOnlyLayers();
        surface.Present();
      },
      pump, MonotonicSeconds));

  picture.reset();  // the context goes before its window
  XDestroyWindow(display, window);
  XCloseDisplay(display);
  return 0;
}
