// GL on a Wayland surface through EGL: one display connection for the show, and
// for each surface its own wl_egl_window, EGL window surface and desktop-GL
// context (the picture is GL 1.1, so OpenGL ES would not do).
#pragma once

#include "common/result.h"
#include "engine/picture.h"

struct wl_display;
struct wl_surface;
struct wl_egl_window;

namespace orvane::linux_program {

class EglDisplay {
 public:
  EglDisplay() = default;
  ~EglDisplay() { Close(); }
  EglDisplay(const EglDisplay&) = delete;
  EglDisplay& operator=(const EglDisplay&) = delete;

  // Initialises EGL on the Wayland connection and picks an opaque RGB window
  // configuration with desktop OpenGL; the reason when there is none.
  common::Result<void> Open(wl_display* display);
  void Close();
  void* Handle() const { return display_; }  // EGLDisplay
  void* Config() const { return config_; }   // EGLConfig

 private:
  void* display_ = nullptr;
  void* config_ = nullptr;
};

class EglSurface final : public engine::GlSurface {
 public:
  // `width` and `height` are buffer pixels (the surface's size times its scale).
  EglSurface(EglDisplay& display, wl_surface* surface, int width, int height)
      : display_(display), surface_(surface), size_{width, height} {}
  ~EglSurface() override;

  // Makes the window, its EGL surface and a context (not yet current), or says
  // why it cannot.
  common::Result<void> Prepare();
  // The buffer size changes with the next frame; a frame finished at the old size
  // is dropped.
  void Resize(int width, int height);

  // A frame is drawn to the end as soon as it is asked for (Present) and handed to
  // the compositor later (Show), once the compositor has shown the one before: the
  // drawing of a frame overlaps the wait for the last one.
  bool FrameFinished() const { return finished_; }
  void Show();

  bool Open(engine::SurfaceSize& size) override;
  void Present() override;
  void Close() override;
  void MakeCurrent() override;

 private:
  EglDisplay& display_;
  wl_surface* surface_;
  engine::SurfaceSize size_;
  wl_egl_window* window_ = nullptr;
  void* eglSurface_ = nullptr;  // EGLSurface
  void* context_ = nullptr;     // EGLContext
  bool finished_ = false;       // a frame drawn and not yet shown
};

}  // namespace orvane::linux_program
