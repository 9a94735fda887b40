// Frame benchmark under Wine: the real frame step (clock, both veil updates,
// strips, swap) against a fill-only baseline that draws the same two blended,
// textured full-screen layers with no simulation, in the same window and context.
//
//   engine_frame_bench [ROUNDS [FRAMES]]   prints per-frame times and their ratio
//
// The two alternate in short blocks so that load from other processes hits both
// alike; the least and the median time of a block are reported for each.
#include "engine/render.h"
#include "engine/wgl_surface.h"
#include "engine/win32_clock.h"

#include <windows.h>
#include <GL/gl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

constexpr int width = 1024, height = 768;

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wp, LPARAM lp) {
  return DefWindowProcA(window, message, wp, lp);
}

void pumpMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

// The two layers the real frame draws, as plain textured quads over the screen.
void fillOnlyFrame(HDC deviceContext) {
  glClear(GL_COLOR_BUFFER_BIT);
  for (int layer = 0; layer < 2; ++layer) {
    glPushMatrix();
    glTranslatef(0, 0, 1.6f);
    glColor3f(0.5f, 0.4f, 0.3f);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 0);
    glVertex3f(-1, -1, 0.5f);
    glTexCoord2f(2, 0);
    glVertex3f(1, -1, 0.5f);
    glTexCoord2f(2, 2);
    glVertex3f(1, 1, 0.5f);
    glTexCoord2f(0, 2);
    glVertex3f(-1, 1, 0.5f);
    glEnd();
    glPopMatrix();
  }
  glFlush();
  wglSwapLayerBuffers(deviceContext, WGL_SWAP_MAIN_PLANE);
}

double seconds(LARGE_INTEGER from, LARGE_INTEGER to, LARGE_INTEGER frequency) {
  return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

template <typename Frame>
double millisecondsPerFrame(int frames, Frame frame) {
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  glFinish();
  QueryPerformanceCounter(&start);
  for (int n = 0; n < frames; ++n) {
    frame();
    pumpMessages();
  }
  glFinish();
  QueryPerformanceCounter(&end);
  return 1000 * seconds(start, end, frequency) / frames;
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 40;
  const int frames = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;

  WNDCLASSA windowClass = {};
  windowClass.style = CS_OWNDC;
  windowClass.lpfnWndProc = windowProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  windowClass.lpszClassName = "OrvaneFrameBench";
  RegisterClassA(&windowClass);
  HWND window =
      CreateWindowExA(0, windowClass.lpszClassName, "Orvane frame benchmark", WS_POPUP | WS_VISIBLE,
                      0, 0, width, height, nullptr, nullptr, windowClass.hInstance, nullptr);
  if (!window) {
    std::fprintf(stderr, "no window\n");
    return 1;
  }
  pumpMessages();
  WglSurface surface(window);
  Win32Clock clock;
  const std::unique_ptr<Rendering> rendering = setUpRendering(surface, clock);
  auto frame = [&] { frameStep(*rendering); };
  HDC deviceContext = GetDC(window);  // the class DC that rendering set up
  if (!wglGetCurrentContext()) {
    std::fprintf(stderr, "no GL context\n");
    return 1;
  }
  std::printf("renderer: %s, window %dx%d, %d rounds of %d frames\n",
              reinterpret_cast<const char*>(glGetString(GL_RENDERER)), width, height, rounds,
              frames);

  millisecondsPerFrame(frames, frame);  // warm-up: caches, first mipmap uploads
  millisecondsPerFrame(frames, [&] { fillOnlyFrame(deviceContext); });

  std::vector<double> real, fill;
  for (int round = 0; round < rounds; ++round) {
    real.push_back(millisecondsPerFrame(frames, frame));
    fill.push_back(millisecondsPerFrame(frames, [&] { fillOnlyFrame(deviceContext); }));
  }
  const double realLeast = *std::min_element(real.begin(), real.end());
  const double fillLeast = *std::min_element(fill.begin(), fill.end());
  std::printf("frame:     least %.2f ms, median %.2f ms\n", realLeast, median(real));
  std::printf("fill-only: least %.2f ms, median %.2f ms\n", fillLeast, median(fill));
  std::printf("ratio frame / fill-only: %.3f (least), %.3f (median)\n", realLeast / fillLeast,
              median(real) / median(fill));

  ReleaseDC(window, deviceContext);
  tearDownRendering(*rendering);
  DestroyWindow(window);
  return 0;
}
