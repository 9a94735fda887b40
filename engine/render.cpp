#include "engine/render.h"

#include "engine/streak_image.h"

#if defined(_WIN32)
// The Windows GL headers expect the calling-convention macros of <windows.h>;
// these three are all they need.
#ifndef APIENTRY
#define APIENTRY __stdcall
#endif
#ifndef WINGDIAPI
#define WINGDIAPI __declspec(dllimport)
#endif
#ifndef CALLBACK
#define CALLBACK __stdcall
#endif
#endif
#include <GL/gl.h>
#include <GL/glu.h>

#include <ctime>

namespace {

void setGlState(Rendering& r, SurfaceSize size) {
  resizeRendering(r, size);  // leaves the model-view matrix current
  glLoadIdentity();
  glTranslatef(0, 0, -5);

  glClearColor(0, 0, 0, 1);
  glClear(GL_COLOR_BUFFER_BIT);
  glEnable(GL_BLEND);
  glBlendFunc(GL_ONE, GL_ONE);

  glEnable(GL_TEXTURE_2D);
  glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  GLuint texture = 0;
  glGenTextures(1, &texture);
  r.texture = texture;
  glBindTexture(GL_TEXTURE_2D, texture);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
  gluBuild2DMipmaps(GL_TEXTURE_2D, 1, streakImageSide, streakImageSide, GL_LUMINANCE,
                    GL_UNSIGNED_BYTE, streakImage);

  glInterleavedArrays(GL_T2F_C3F_V3F, 0, r.mesh.data());
}

void drawVeil(Rendering& r, const Veil& veil) {
  glPushMatrix();
  glTranslatef(0.2f * veil.coefficient[0], 0.2f * veil.coefficient[1], 1.6f);
  fillMesh(veil, r.mesh.data());
  const int count = buildLitTriangles(r.mesh.data(), r.stripIndices.data(), r.triangles.data());
  if (count > 0) glDrawElements(GL_TRIANGLES, count, GL_UNSIGNED_SHORT, r.triangles.data());
  glPopMatrix();
}

}  // namespace

std::uint32_t RenderClock::calendarSeconds() {
  return static_cast<std::uint32_t>(std::time(nullptr));
}

std::unique_ptr<Rendering> setUpRendering(GlSurface& surface, RenderClock& clock,
                                          RandomGenerator* continueFrom) {
  auto rendering = std::make_unique<Rendering>();
  Rendering& r = *rendering;
  r.surface = &surface;
  r.clock = &clock;
  if (continueFrom) {
    r.random = *continueFrom;
  } else {
    seedRandom(r.random, clock.calendarSeconds());
    for (int n = 0; n < 20; ++n) nextRandom(r.random);
  }

  r.mesh.resize(meshVertexCount);
  r.stripIndices.resize(static_cast<std::size_t>(stripCount * stripLength));
  buildStripIndices(r.stripIndices.data());
  r.triangles.resize(maxTriangleIndices);

  // Without a current context there is nothing to draw with: the window then
  // stays black and still closes on input.
  SurfaceSize size;
  r.drawing = surface.open(size);
  if (r.drawing) setGlState(r, size);

  for (int n = 0; n < veilCount; ++n) r.veils.push_back(createVeil(r.random));
  if (continueFrom) *continueFrom = r.random;
  return rendering;
}

void resizeRendering(Rendering& r, SurfaceSize size) {
  if (!r.drawing) return;
  glViewport(0, 0, size.width, size.height);
  // Width over height of the drawable; a window folded to no height keeps a finite aspect.
  const float aspect =
      static_cast<float>(size.width) / static_cast<float>(size.height > 0 ? size.height : 1);
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(20.0, aspect, 0.01, 20.0);
  // Everything else the picture does works on the model-view matrix.
  glMatrixMode(GL_MODELVIEW);
}

void frameStep(Rendering& r) {
  if (!r.clock) return;
  const float dt = r.frameClock.tick([&r] { return r.clock->milliseconds(); });
  for (Veil& veil : r.veils) updateVeil(veil, dt);
  if (!r.drawing) return;
  glClear(GL_COLOR_BUFFER_BIT);
  for (const Veil& veil : r.veils) drawVeil(r, veil);
  glFlush();
  r.surface->present();
}

void tearDownRendering(Rendering& r) {
  for (Veil& veil : r.veils) destroyVeil(veil);
  r.veils.clear();
  if (r.surface) r.surface->close();
  r.drawing = false;
  r.surface = nullptr;
  r.clock = nullptr;
}
