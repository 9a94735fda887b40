// The engine window's GL context through WGL: its device context (kept for the
// window's life, the class has CS_OWNDC), pixel format, context and swap.
#pragma once

#include "engine/picture.h"

#include <windows.h>

namespace orvane::engine {

// The calls that end a context, in the order the documentation asks: the context
// stops being current before it is deleted, and a device context still in use by a
// current context may not be released. A test stands in for them to watch the order.
struct WglReleaseCalls {
  BOOL(WINAPI* makeCurrent)(HDC, HGLRC) = wglMakeCurrent;
  BOOL(WINAPI* deleteContext)(HGLRC) = wglDeleteContext;
  int(WINAPI* releaseDeviceContext)(HWND, HDC) = ReleaseDC;
};

class WglSurface final : public GlSurface {
 public:
  explicit WglSurface(HWND window, const WglReleaseCalls& calls = {})
      : window_(window), calls_(calls) {}
  ~WglSurface() override { Close(); }
  WglSurface(const WglSurface&) = delete;
  WglSurface& operator=(const WglSurface&) = delete;

  bool Open(SurfaceSize& size) override;
  void Present() override;
  void Close() override;
  void MakeCurrent() override;
  bool SetSwapInterval(int interval) override;
  bool SwapWaitsForDisplay() override;

 private:
  HWND window_;
  WglReleaseCalls calls_;
  HDC deviceContext_ = nullptr;
  HGLRC glContext_ = nullptr;
};

}  // namespace orvane::engine
