#include "linux/glx_surface.h"

#include <GL/glx.h>

#include <cstring>

namespace orvane::linux_program {

bool GlxSurface::VisualSupportsGl(Display* display, XVisualInfo& visual) {
  int useGl = 0, rgba = 0, doubleBuffer = 0;
  return glXGetConfig(display, &visual, GLX_USE_GL, &useGl) == 0 && useGl &&
         glXGetConfig(display, &visual, GLX_RGBA, &rgba) == 0 && rgba &&
         glXGetConfig(display, &visual, GLX_DOUBLEBUFFER, &doubleBuffer) == 0 && doubleBuffer;
}

Window GlxSurface::CreateWindow(Display* display, int x, int y, int width, int height,
                                bool overrideRedirect, long eventMask, std::string& error) {
  const int screen = DefaultScreen(display);
  int wanted[] = {GLX_RGBA, GLX_DOUBLEBUFFER, GLX_RED_SIZE, 1, GLX_GREEN_SIZE, 1, GLX_BLUE_SIZE, 1,
                  None};
  XVisualInfo* visual = glXChooseVisual(display, screen, wanted);
  if (!visual) {
    error = "no usable GLX visual (no double-buffered RGBA OpenGL)";
    return None;
  }
  const Window root = RootWindow(display, screen);
  XSetWindowAttributes attributes = {};
  attributes.colormap = XCreateColormap(display, root, visual->visual, AllocNone);
  attributes.background_pixel = BlackPixel(display, screen);
  attributes.override_redirect = overrideRedirect;
  attributes.event_mask = eventMask;
  const Window window = XCreateWindow(
      display, root, x, y, static_cast<unsigned>(width), static_cast<unsigned>(height), 0,
      visual->depth, InputOutput, visual->visual,
      CWColormap | CWBackPixel | CWBorderPixel | CWOverrideRedirect | CWEventMask, &attributes);
  XFree(visual);
  return window;
}

bool GlxSurface::Prepare(std::string& error) {
  int errorBase = 0, eventBase = 0;
  if (!glXQueryExtension(display_, &errorBase, &eventBase)) {
    error = "the X server has no GLX extension";
    return false;
  }
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(display_, window_, &attributes)) {
    error = "cannot read the window's attributes";
    return false;
  }
  XVisualInfo pattern = {};
  pattern.visualid = XVisualIDFromVisual(attributes.visual);
  int count = 0;
  XVisualInfo* visual = XGetVisualInfo(display_, VisualIDMask, &pattern, &count);
  if (!visual || count < 1 || !VisualSupportsGl(display_, *visual)) {
    if (visual) XFree(visual);
    error = "no usable GLX visual (the window's visual has no double-buffered RGBA OpenGL)";
    return false;
  }
  context_ = glXCreateContext(display_, visual, nullptr, True);
  if (!context_) context_ = glXCreateContext(display_, visual, nullptr, False);
  XFree(visual);
  if (!context_) {
    error = "cannot create a GLX context";
    return false;
  }
  return true;
}

bool GlxSurface::SetVsync(bool on) {
  const int interval = on ? 1 : 0;
  const char* extensions = glXQueryExtensionsString(display_, DefaultScreen(display_));
  auto offers = [extensions](const char* name) {
    if (!extensions) return false;
    const std::size_t length = std::strlen(name);
    for (const char* at = std::strstr(extensions, name); at; at = std::strstr(at + 1, name))
      if ((at == extensions || at[-1] == ' ') && (at[length] == ' ' || at[length] == '\0'))
        return true;
    return false;
  };
  using SwapEXT = void (*)(Display*, GLXDrawable, int);
  using SwapMESA = int (*)(unsigned);
  using SwapSGI = int (*)(int);
  auto lookUp = [](const char* name) {
    return glXGetProcAddressARB(reinterpret_cast<const GLubyte*>(name));
  };
  if (offers("GLX_EXT_swap_control")) {
    if (auto swap = reinterpret_cast<SwapEXT>(lookUp("glXSwapIntervalEXT"))) {
      swap(display_, window_, interval);
      return true;
    }
  }
  if (offers("GLX_MESA_swap_control")) {
    if (auto swap = reinterpret_cast<SwapMESA>(lookUp("glXSwapIntervalMESA")))
      return swap(static_cast<unsigned>(interval)) == 0;
  }
  // The SGI call cannot turn syncing off, only on.
  if (on && offers("GLX_SGI_swap_control")) {
    if (auto swap = reinterpret_cast<SwapSGI>(lookUp("glXSwapIntervalSGI"))) return swap(1) == 0;
  }
  return false;
}

bool GlxSurface::Open(engine::SurfaceSize& size) {
  XWindowAttributes attributes;
  if (XGetWindowAttributes(display_, window_, &attributes))
    size = {attributes.width, attributes.height};
  return context_ && glXMakeCurrent(display_, window_, static_cast<GLXContext>(context_));
}

void GlxSurface::Present() { glXSwapBuffers(display_, window_); }

void GlxSurface::Close() {
  if (!context_) return;
  glXMakeCurrent(display_, None, nullptr);
  glXDestroyContext(display_, static_cast<GLXContext>(context_));
  context_ = nullptr;
}

void GlxSurface::MakeCurrent() {
  if (context_) glXMakeCurrent(display_, window_, static_cast<GLXContext>(context_));
}

bool GlxSurface::SetSwapInterval(int interval) {
  if (!context_) return false;
  MakeCurrent();
  return SetVsync(interval != 0);
}

}  // namespace orvane::linux_program
