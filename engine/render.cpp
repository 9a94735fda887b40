#include "engine/render.h"

#include "engine/frame_clock.h"
#include "engine/streak_image.h"
#include "engine/veil.h"
#include "engine/veil_mesh.h"
#include "engine/wgl_pixel_format.h"

#include <windows.h>
#include <mmsystem.h>
#include <GL/gl.h>
#include <GL/glu.h>

#include <ctime>
#include <memory>
#include <vector>

namespace {

struct RenderState {
  HDC deviceContext = nullptr;
  HGLRC glContext = nullptr;
  bool drawing = false;  // the context exists and is current on this thread
  GLuint texture = 0;
  std::vector<Veil> veils;
  FrameClock clock;
  // The vertices go to GL as client arrays, one draw call per veil instead
  // of three calls per vertex; triangles that are black throughout are left out.
  std::vector<MeshVertex> mesh;
  std::vector<std::uint16_t> stripIndices;
  std::vector<std::uint16_t> triangles;
};

std::unique_ptr<RenderState> state;

void setGlState(RenderState& s, const RECT& client) {
  glViewport(client.left, client.top, client.right - client.left, client.bottom - client.top);

  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(20.0, static_cast<float>(client.right) / static_cast<float>(client.bottom), 0.01,
                 20.0);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glTranslatef(0, 0, -5);

  glClearColor(0, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  glEnable(GL_BLEND);
  glBlendFunc(GL_ONE, GL_ONE);

  glEnable(GL_TEXTURE_2D);
  glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  glGenTextures(1, &s.texture);
  glBindTexture(GL_TEXTURE_2D, s.texture);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
  gluBuild2DMipmaps(GL_TEXTURE_2D, 1, streakImageSide, streakImageSide, GL_LUMINANCE,
                    GL_UNSIGNED_BYTE, streakImage);

  glInterleavedArrays(GL_T2F_C3F_V3F, 0, s.mesh.data());
}

void drawVeil(RenderState& s, const Veil& veil) {
  glPushMatrix();
  glTranslatef(0.2f * veil.coefficient[0], 0.2f * veil.coefficient[1], 1.6f);
  fillMesh(veil, s.mesh.data());
  const int count = buildLitTriangles(s.mesh.data(), s.stripIndices.data(), s.triangles.data());
  if (count > 0) glDrawElements(GL_TRIANGLES, count, GL_UNSIGNED_SHORT, s.triangles.data());
  glPopMatrix();
}

}  // namespace

void setUpRendering(HWND window) {
  seedRandom(static_cast<std::uint32_t>(std::time(nullptr)));
  for (int n = 0; n < 20; ++n) nextRandom();

  state = std::make_unique<RenderState>();
  RenderState& s = *state;
  s.mesh.resize(meshVertexCount);
  s.stripIndices.resize(static_cast<std::size_t>(stripCount * stripLength));
  buildStripIndices(s.stripIndices.data());
  s.triangles.resize(maxTriangleIndices);

  s.deviceContext = GetDC(window);
  selectPixelFormat(s.deviceContext);
  s.glContext = wglCreateContext(s.deviceContext);
  RECT client = {};
  GetClientRect(window, &client);
  // Without a current context there is nothing to draw with: the window then
  // stays black and still closes on input.
  s.drawing = s.glContext && wglMakeCurrent(s.deviceContext, s.glContext);
  if (s.drawing) setGlState(s, client);

  for (int n = 0; n < veilCount; ++n) s.veils.push_back(createVeil());
}

void frameStep() {
  if (!state) return;
  RenderState& s = *state;
  const float dt = s.clock.tick(timeGetTime);
  for (Veil& veil : s.veils) updateVeil(veil, dt);
  if (!s.drawing) return;
  glClear(GL_COLOR_BUFFER_BIT);
  for (const Veil& veil : s.veils) drawVeil(s, veil);
  glFlush();
  wglSwapLayerBuffers(s.deviceContext, WGL_SWAP_MAIN_PLANE);
}

void tearDownRendering(HWND window) {
  if (!state) return;
  RenderState& s = *state;
  for (Veil& veil : s.veils) destroyVeil(veil);
  s.veils.clear();
  ReleaseDC(window, s.deviceContext);
  wglMakeCurrent(nullptr, nullptr);
  if (s.glContext) wglDeleteContext(s.glContext);
  state.reset();
}
