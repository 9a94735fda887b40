// How a WGL surface gives its context back, on a real window and context: the
// context stops being current before it is deleted and before its device context
// is released, once, whether closed or simply destroyed.
#include "engine/win32/wgl_surface.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace orvane::engine;

namespace {

std::vector<std::string> releaseLog;  // the stand-ins below are plain function pointers
HGLRC currentAtRelease = nullptr;

BOOL WINAPI RecordMakeCurrent(HDC deviceContext, HGLRC context) {
  releaseLog.push_back(context ? "make current" : "none current");
  return wglMakeCurrent(deviceContext, context);
}
BOOL WINAPI RecordDeleteContext(HGLRC context) {
  releaseLog.push_back("delete context");
  return wglDeleteContext(context);
}
int WINAPI RecordReleaseDc(HWND window, HDC deviceContext) {
  releaseLog.push_back("release device context");
  currentAtRelease = wglGetCurrentContext();
  return ReleaseDC(window, deviceContext);
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wp, LPARAM lp) {
  return DefWindowProcA(window, message, wp, lp);
}

HWND MakeGlWindow() {
  WNDCLASSA windowClass = {};
  windowClass.style = CS_OWNDC;
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "OrvaneWglSurfaceTest";
  RegisterClassA(&windowClass);
  return CreateWindowExA(0, windowClass.lpszClassName, "wgl surface test", WS_POPUP | WS_VISIBLE, 0,
                         0, 64, 48, nullptr, nullptr, windowClass.hInstance, nullptr);
}

enum class End { CloseThenDestroy, DestroyOnly, CloseTwice, NeverOpened };

struct ReleaseCase {
  const char* name;
  End end;
  std::vector<std::string> log;
};

class WglSurfaceRelease : public testing::TestWithParam<ReleaseCase> {};

TEST_P(WglSurfaceRelease, UncurrentsBeforeDeletingAndReleasingOnce) {
  HWND window = MakeGlWindow();
  ASSERT_NE(window, nullptr);
  releaseLog.clear();
  currentAtRelease = reinterpret_cast<HGLRC>(1);
  WglReleaseCalls calls;
  calls.makeCurrent = RecordMakeCurrent;
  calls.deleteContext = RecordDeleteContext;
  calls.releaseDeviceContext = RecordReleaseDc;
  {
    WglSurface surface(window, calls);
    if (GetParam().end != End::NeverOpened) {
      SurfaceSize size;
      ASSERT_TRUE(surface.Open(size)) << "no GL context on this display";
      EXPECT_NE(wglGetCurrentContext(), nullptr);
      EXPECT_EQ(size.width, 64);
    }
    if (GetParam().end == End::CloseThenDestroy || GetParam().end == End::CloseTwice)
      surface.Close();
    if (GetParam().end == End::CloseTwice) surface.Close();
  }
  EXPECT_EQ(releaseLog, GetParam().log);
  EXPECT_EQ(wglGetCurrentContext(), nullptr);
  if (GetParam().end != End::NeverOpened)
    EXPECT_EQ(currentAtRelease, nullptr) << "device context released under a current context";
  DestroyWindow(window);
}

const std::vector<std::string> kInOrder = {"none current", "delete context",
                                           "release device context"};

INSTANTIATE_TEST_SUITE_P(Ends, WglSurfaceRelease,
                         testing::Values(ReleaseCase{"CloseThenDestroy", End::CloseThenDestroy,
                                                     kInOrder},
                                         ReleaseCase{"DestroyOnly", End::DestroyOnly, kInOrder},
                                         ReleaseCase{"CloseTwice", End::CloseTwice, kInOrder},
                                         ReleaseCase{"NeverOpened", End::NeverOpened, {}}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
