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

// Lends a temporary to a call that takes a generator to advance.
RandomGenerator& Lend(RandomGenerator&& random) { return random; }

}  // namespace

std::uint32_t RenderClock::CalendarSeconds() {
  return static_cast<std::uint32_t>(std::time(nullptr));
}

RandomGenerator CalendarSeededRandom(RenderClock& clock) {
  RandomGenerator random;
  SeedRandom(random, clock.CalendarSeconds());
  for (int n = 0; n < 20; ++n) NextRandom(random);
  return random;
}

Picture::Picture(GlSurface& surface, RenderClock& clock)
    : Picture(surface, clock, Lend(CalendarSeededRandom(clock))) {}

Picture::Picture(GlSurface& surface, RenderClock& clock, RandomGenerator& sequence)
    : surface_(surface), clock_(clock) {
  mesh_.resize(kMeshVertexCount);
  stripIndices_.resize(static_cast<std::size_t>(kStripCount * kStripLength));
  BuildStripIndices(stripIndices_.data());
  triangles_.resize(kMaxTriangleIndices);

  SurfaceSize size;
  drawing_ = surface_.Open(size);
  if (drawing_) SetGlState(size);

  for (int n = 0; n < kVeilCount; ++n) veils_.push_back(CreateVeil(sequence));
}

Picture::~Picture() {
  for (Veil& veil : veils_) DestroyVeil(veil);
  // The streak texture goes with the context.
  surface_.Close();
}

void Picture::SetGlState(SurfaceSize size) {
  Resize(size);  // leaves the model-view matrix current
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
  glBindTexture(GL_TEXTURE_2D, texture);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
  gluBuild2DMipmaps(GL_TEXTURE_2D, 1, kStreakImageSide, kStreakImageSide, GL_LUMINANCE,
                    GL_UNSIGNED_BYTE, kStreakImage);

  glInterleavedArrays(GL_T2F_C3F_V3F, 0, mesh_.data());
}

void Picture::DrawVeil(const Veil& veil) {
  glPushMatrix();
  glTranslatef(0.2f * veil.coefficient[0], 0.2f * veil.coefficient[1], 1.6f);
  FillMesh(veil, mesh_.data());
  const int count = BuildLitTriangles(mesh_.data(), stripIndices_.data(), triangles_.data());
  if (count > 0) glDrawElements(GL_TRIANGLES, count, GL_UNSIGNED_SHORT, triangles_.data());
  glPopMatrix();
}

void Picture::Resize(SurfaceSize size) {
  if (!drawing_) return;
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

void Picture::Step() {
  const float dt = frameClock_.Tick([this] { return clock_.Milliseconds(); });
  for (Veil& veil : veils_) UpdateVeil(veil, dt);
  if (!drawing_) return;
  glClear(GL_COLOR_BUFFER_BIT);
  for (const Veil& veil : veils_) DrawVeil(veil);
  glFlush();
  surface_.Present();
}

}  // namespace orvane::engine
