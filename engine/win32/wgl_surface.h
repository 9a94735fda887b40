// The engine window's GL context through WGL: its device context (kept for the
// window's life, the class has CS_OWNDC), pixel format, context and swap.
#pragma once

#include "engine/picture.h"

#include <windows.h>

namespace orvane::engine {

class WglSurface final : public GlSurface {
 public:
  explicit WglSurface(HWND window) : window_(window) {}
  bool Open(SurfaceSize& size) override;
  void Present() override;
  void Close() override;
  void MakeCurrent() override;
  bool SetSwapInterval(int interval) override;
  bool SwapWaitsForDisplay() override;

 private:
  HWND window_;
  HDC deviceContext_ = nullptr;
  HGLRC glContext_ = nullptr;
};

}  // namespace orvane::engine
