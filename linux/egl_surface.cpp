#include "linux/egl_surface.h"

#include "linux/egl_config_choice.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/gl.h>
#include <wayland-egl.h>

#include <cstdio>
#include <string>
#include <vector>

namespace orvane::linux_program {

namespace {

std::string EglErrorText() {
  char code[16];
  std::snprintf(code, sizeof code, "0x%04X", static_cast<unsigned>(eglGetError()));
  return code;
}

}  // namespace

void EglDisplay::Close() {
  if (display_) eglTerminate(static_cast<EGLDisplay>(display_));
  display_ = nullptr;
}

common::Result<void> EglDisplay::Open(wl_display* display) {
  EGLDisplay egl = eglGetPlatformDisplay(EGL_PLATFORM_WAYLAND_KHR, display, nullptr);
  if (egl == EGL_NO_DISPLAY || !eglInitialize(egl, nullptr, nullptr)) {
    return common::Reason{"EGL cannot use the Wayland display (" + EglErrorText() + ")"};
  }
  display_ = egl;
  if (!eglBindAPI(EGL_OPENGL_API)) {
    return common::Reason{"EGL offers no desktop OpenGL here"};
  }
  const EGLint wanted[] = {EGL_SURFACE_TYPE,
                           EGL_WINDOW_BIT,
                           EGL_RENDERABLE_TYPE,
                           EGL_OPENGL_BIT,
                           EGL_RED_SIZE,
                           8,
                           EGL_GREEN_SIZE,
                           8,
                           EGL_BLUE_SIZE,
                           8,
                           EGL_NONE};
  // All of them: the deeper-coloured ones come first and can be many.
  EGLint count = 0;
  std::vector<EGLConfig> configs;
  if (eglChooseConfig(egl, wanted, nullptr, 0, &count) && count > 0) {
    configs.resize(static_cast<std::size_t>(count));
    if (!eglChooseConfig(egl, wanted, configs.data(), count, &count)) count = 0;
  }
  if (count < 1) {
    return common::Reason{"EGL has no RGB window configuration with desktop OpenGL"};
  }
  std::vector<ConfigChannels> channels(static_cast<std::size_t>(count));
  for (EGLint n = 0; n < count; ++n) {
    ConfigChannels& c = channels[static_cast<std::size_t>(n)];
    eglGetConfigAttrib(egl, configs[n], EGL_RED_SIZE, &c.red);
    eglGetConfigAttrib(egl, configs[n], EGL_GREEN_SIZE, &c.green);
    eglGetConfigAttrib(egl, configs[n], EGL_BLUE_SIZE, &c.blue);
    eglGetConfigAttrib(egl, configs[n], EGL_ALPHA_SIZE, &c.alpha);
  }
  config_ = configs[ChooseWindowConfig(channels)];
  return {};
}

EglSurface::~EglSurface() {
  Close();
  if (eglSurface_) eglDestroySurface(static_cast<EGLDisplay>(display_.Handle()), eglSurface_);
  if (window_) wl_egl_window_destroy(window_);
}

common::Result<void> EglSurface::Prepare() {
  const auto egl = static_cast<EGLDisplay>(display_.Handle());
  window_ = wl_egl_window_create(surface_, size_.width, size_.height);
  if (!window_) {
    return common::Reason{"cannot make an EGL window for the surface"};
  }
  eglSurface_ = eglCreatePlatformWindowSurface(egl, display_.Config(), window_, nullptr);
  if (eglSurface_ == EGL_NO_SURFACE) {
    eglSurface_ = nullptr;
    return common::Reason{"cannot make an EGL window surface (" + EglErrorText() + ")"};
  }
  eglBindAPI(EGL_OPENGL_API);
  context_ = eglCreateContext(egl, display_.Config(), EGL_NO_CONTEXT, nullptr);
  if (context_ == EGL_NO_CONTEXT) {
    context_ = nullptr;
    return common::Reason{"cannot make a desktop OpenGL context (" + EglErrorText() + ")"};
  }
  return {};
}

void EglSurface::Resize(int width, int height) {
  size_ = {width, height};
  finished_ = false;
  if (window_) wl_egl_window_resize(window_, width, height, 0, 0);
}

bool EglSurface::Open(engine::SurfaceSize& size) {
  size = size_;
  if (!context_) return false;
  const auto egl = static_cast<EGLDisplay>(display_.Handle());
  if (!eglMakeCurrent(egl, eglSurface_, eglSurface_, context_)) return false;
  // Frames are paced by the compositor's frame callbacks. A swap that waited
  // itself would block the whole show on a surface the compositor does not show.
  eglSwapInterval(egl, 0);
  return true;
}

void EglSurface::Present() {
  // A software renderer draws the frame's triangles only when the frame is
  // flushed: finishing it here does that work now, while the compositor may still
  // be showing the last frame, rather than in the swap after the wait.
  glFinish();
  finished_ = true;
}

void EglSurface::Show() {
  if (!finished_) return;
  finished_ = false;
  MakeCurrent();
  eglSwapBuffers(static_cast<EGLDisplay>(display_.Handle()), eglSurface_);
}

void EglSurface::Close() {
  if (!context_) return;
  const auto egl = static_cast<EGLDisplay>(display_.Handle());
  eglMakeCurrent(egl, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
  eglDestroyContext(egl, context_);
  context_ = nullptr;
}

void EglSurface::MakeCurrent() {
  if (context_)
    eglMakeCurrent(static_cast<EGLDisplay>(display_.Handle()), eglSurface_, eglSurface_, context_);
}

}  // namespace orvane::linux_program
