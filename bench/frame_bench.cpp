// Frame benchmark under Wine: the real frame step (clock, both veil updates,
// drawing, swap) against the fill-only baseline, in the same window and context.
//
//   engine_frame_bench [ROUNDS [FRAMES]]   prints per-frame times and their ratio
#include "bench/frame_compare.h"
#include "engine/picture.h"
#include "engine/win32/wgl_surface.h"
#include "engine/win32/win32_clock.h"

#include <windows.h>

#include <GL/gl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>

using namespace orvane::engine;

namespace {

constexpr int kWidth = 1024, kHeight = 768;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wp, LPARAM lp) {
  return DefWindowProcA(window, message, wp, lp);
}

void PumpMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

double Seconds() {
  LARGE_INTEGER frequency, now;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 40;
  const int frames = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;

  WNDCLASSA windowClass = {};
  windowClass.style = CS_OWNDC;
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  windowClass.lpszClassName = "OrvaneFrameBench";
  RegisterClassA(&windowClass);
  HWND window =
      CreateWindowExA(0, windowClass.lpszClassName, "Orvane frame benchmark", WS_POPUP | WS_VISIBLE,
                      0, 0, kWidth, kHeight, nullptr, nullptr, windowClass.hInstance, nullptr);
  if (!window) {
    std::fprintf(stderr, "no window\n");
    return 1;
  }
  PumpMessages();
  WglSurface surface(window);
  Win32Clock clock;
  auto picture = std::make_unique<Picture>(surface, clock);
  if (!picture->Drawing()) {
    std::fprintf(stderr, "no GL context\n");
    return 1;
  }
  std::printf("renderer: %s, window %dx%d, %d rounds of %d frames\n",
              reinterpret_cast<const char*>(glGetString(GL_RENDERER)), kWidth, kHeight, rounds,
              frames);
  PrintFrameFigures(CompareFrames(
      rounds, frames, [&] { picture->Step(); },
      [&] {
        DrawFillOnlyLayers();
        surface.Present();
      },
      PumpMessages, Seconds));

  picture.reset();  // the context goes before its window
  DestroyWindow(window);
  return 0;
}
