#include "engine/picture.h"

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

namespace orvane::engine {

namespace {

void SetGlState(Rendering& r, SurfaceSize size) {
  ResizeRendering(r, size);  // leaves the model-view matrix current
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
  gluBuild2DMipmaps(GL_TEXTURE_2D, 1, kStreakImageSide, kStreakImageSide, GL_LUMINANCE,
                    GL_UNSIGNED_BYTE, kStreakImage);

  glInterleavedArrays(GL_T2F_C3F_V3F, 0, r.mesh.data());
}

void DrawVeil(Rendering& r, const Veil& veil) {
  glPushMatrix();
  glTranslatef(0.2f * veil.coefficient[0], 0.2f * veil.coefficient[1], 1.6f);
  FillMesh(veil, r.mesh.data());
  const int count = BuildLitTriangles(r.mesh.data(), r.stripIndices.data(), r.triangles.data());
  if (count > 0) glDrawElements(GL_TRIANGLES, count, GL_UNSIGNED_SHORT, r.triangles.data());
  glPopMatrix();
}

}  // namespace

std::uint32_t RenderClock::CalendarSeconds() {
  return static_cast<std::uint32_t>(std::time(nullptr));
}

std::unique_ptr<Rendering> SetUpRendering(GlSurface& surface, RenderClock& clock,
                                          RandomGenerator* continueFrom) {
  auto rendering = std::make_unique<Rendering>();
  Rendering& r = *rendering;
  r.surface = &surface;
  r.clock = &clock;
  if (continueFrom) {
    r.random = *continueFrom;
  } else {
    SeedRandom(r.random, clock.CalendarSeconds());
    for (int n = 0; n < 20; ++n) NextRandom(r.random);
  }

  r.mesh.resize(kMeshVertexCount);
  r.stripIndices.resize(static_cast<std::size_t>(kStripCount * kStripLength));
  BuildStripIndices(r.stripIndices.data());
  r.triangles.resize(kMaxTriangleIndices);

  // Without a current context there is nothing to draw with: the window then
  // stays black and still closes on input.
  SurfaceSize size;
  r.drawing = surface.Open(size);
  if (r.drawing) SetGlState(r, size);

  for (int n = 0; n < kVeilCount; ++n) r.veils.push_back(CreateVeil(r.random));
  if (continueFrom) *continueFrom = r.random;
  return rendering;
}

void ResizeRendering(Rendering& r, SurfaceSize size) {
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

void FrameStep(Rendering& r) {
  if (!r.clock) return;
  const float dt = r.frameClock.Tick([&r] { return r.clock->Milliseconds(); });
  for (Veil& veil : r.veils) UpdateVeil(veil, dt);
  if (!r.drawing) return;
  glClear(GL_COLOR_BUFFER_BIT);
  for (const Veil& veil : r.veils) DrawVeil(r, veil);
  glFlush();
  r.surface->Present();
}

void TearDownRendering(Rendering& r) {
  for (Veil& veil : r.veils) DestroyVeil(veil);
  r.veils.clear();
  if (r.surface) r.surface->Close();
  r.drawing = false;
  r.surface = nullptr;
  r.clock = nullptr;
}

}  // namespace orvane::engine
