#include "engine/win32/wgl_surface.h"

#include "engine/win32/wgl_pixel_format.h"

namespace orvane::engine {

bool WglSurface::Open(SurfaceSize& size) {
  deviceContext_ = GetDC(window_);
  SelectPixelFormat(deviceContext_);
  glContext_ = wglCreateContext(deviceContext_);
  RECT client = {};
  GetClientRect(window_, &client);
  size = {client.right - client.left, client.bottom - client.top};
  return glContext_ && wglMakeCurrent(deviceContext_, glContext_);
}

void WglSurface::Present() { wglSwapLayerBuffers(deviceContext_, WGL_SWAP_MAIN_PLANE); }

void WglSurface::Close() {
  if (!deviceContext_ && !glContext_) return;  // never opened, or closed already
  // Nothing stays current, as the port promises; the context no longer uses the
  // device context, which may then be given back.
  calls_.makeCurrent(nullptr, nullptr);
  if (glContext_) calls_.deleteContext(glContext_);
  if (deviceContext_) calls_.releaseDeviceContext(window_, deviceContext_);
  deviceContext_ = nullptr;
  glContext_ = nullptr;
}

void WglSurface::MakeCurrent() {
  if (glContext_) wglMakeCurrent(deviceContext_, glContext_);
}

bool WglSurface::SetSwapInterval(int interval) {
  if (!glContext_) return false;
  MakeCurrent();
  // WGL_EXT_swap_control; the entry point exists only where the driver offers it.
  using SwapInterval = BOOL(WINAPI*)(int);
  const auto swapInterval = reinterpret_cast<SwapInterval>(
      reinterpret_cast<void (*)()>(wglGetProcAddress("wglSwapIntervalEXT")));
  return swapInterval && swapInterval(interval);
}

bool WglSurface::SwapWaitsForDisplay() {
  if (!glContext_) return false;
  MakeCurrent();
  // WGL_EXT_swap_control again: without it nothing says the swap waits (the WGL
  // default of one refresh holds only where the extension does).
  using GetSwapInterval = int(WINAPI*)();
  const auto getSwapInterval = reinterpret_cast<GetSwapInterval>(
      reinterpret_cast<void (*)()>(wglGetProcAddress("wglGetSwapIntervalEXT")));
  return getSwapInterval && getSwapInterval() >= 1;
}

}  // namespace orvane::engine
