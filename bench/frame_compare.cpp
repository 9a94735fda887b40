#include "bench/frame_compare.h"

#if defined(_WIN32)
#define APIENTRY __stdcall
#define WINGDIAPI __declspec(dllimport)
#endif
#include <GL/gl.h>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

void DrawFillOnlyLayers() {
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
}

FrameFigures CompareFrames(int rounds, int frames, const std::function<void()>& frame,
                           const std::function<void()>& fillFrame,
                           const std::function<void()>& afterFrame,
                           const std::function<double()>& seconds) {
  auto millisecondsPerFrame = [&](const std::function<void()>& draw) {
    glFinish();
    const double start = seconds();
    for (int n = 0; n < frames; ++n) {
      draw();
      afterFrame();
    }
    glFinish();
    return 1000 * (seconds() - start) / frames;
  };
  millisecondsPerFrame(frame);  // warm-up: caches, first mipmap uploads
  millisecondsPerFrame(fillFrame);
  std::vector<double> real, fill;
  for (int round = 0; round < rounds; ++round) {
    real.push_back(millisecondsPerFrame(frame));
    fill.push_back(millisecondsPerFrame(fillFrame));
  }
  return {*std::min_element(real.begin(), real.end()), Median(real),
          *std::min_element(fill.begin(), fill.end()), Median(fill)};
}

void PrintFrameFigures(const FrameFigures& f) {
  std::printf("frame:     least %.2f ms, median %.2f ms\n", f.frameLeast, f.frameMedian);
  std::printf("fill-only: least %.2f ms, median %.2f ms\n", f.fillLeast, f.fillMedian);
  std::printf("ratio frame / fill-only: %.3f (least), %.3f (median)\n", f.frameLeast / f.fillLeast,
              f.frameMedian / f.fillMedian);
}
