#include "tools/preview_still.h"

#include "engine/streak_image.h"
#include "engine/veil.h"
#include "engine/veil_mesh.h"

#include <algorithm>
#include <cmath>

using namespace orvane::engine;

namespace {

// The engine's start: seed, 20 draws thrown away, the veils, then frames.
std::vector<Veil> VeilsAt(const StillFrame& frame) {
  RandomGenerator random;
  SeedRandom(random, frame.seed);
  for (int n = 0; n < 20; ++n) NextRandom(random);
  std::vector<Veil> veils;
  for (int n = 0; n < kVeilCount; ++n) veils.push_back(CreateVeil(random));
  for (int f = 0; f < frame.frames; ++f) {
    for (Veil& veil : veils) UpdateVeil(veil, kFrameMs * 0.001f);
  }
  return veils;
}

// GL_LINEAR sampling of the luminance texture with GL_REPEAT; t = 0 is the
// image's first row, as the engine uploads it.
float Texel(float s, float t) {
  const float x = s * kStreakImageSide - 0.5f;
  const float y = t * kStreakImageSide - 0.5f;
  const float fx = std::floor(x), fy = std::floor(y);
  const float ax = x - fx, ay = y - fy;
  auto at = [](int i, int j) {
    i = ((i % kStreakImageSide) + kStreakImageSide) % kStreakImageSide;
    j = ((j % kStreakImageSide) + kStreakImageSide) % kStreakImageSide;
    return kStreakImage[j * kStreakImageSide + i] / 255.0f;
  };
  const int i = static_cast<int>(fx), j = static_cast<int>(fy);
  return (at(i, j) * (1 - ax) + at(i + 1, j) * ax) * (1 - ay) +
         (at(i, j + 1) * (1 - ax) + at(i + 1, j + 1) * ax) * ay;
}

struct ScreenVertex {
  float x, y;     // pixels, y down
  float invW;     // 1 / eye distance, for perspective-correct attributes
  float s, t;     // divided by w
  float r, g, b;  // clamped vertex colour, divided by w
};

// The engine's camera: gluPerspective(20, aspect, ...) after translate(0, 0, -5),
// and each veil moved by (0.2 c0, 0.2 c1, 1.6).
ScreenVertex Project(const MeshVertex& m, float dx, float dy, int width, int height) {
  const float f = 1.0f / std::tan(10.0f * 3.14159265f / 180.0f);
  const float aspect = static_cast<float>(width) / static_cast<float>(height);
  const float xe = m.x + dx, ye = m.y + dy, ze = m.z + 1.6f - 5.0f;
  const float w = -ze;
  const float xn = f / aspect * xe / w, yn = f * ye / w;
  ScreenVertex v;
  v.x = (xn + 1) * 0.5f * width;
  v.y = (1 - yn) * 0.5f * height;
  v.invW = 1 / w;
  v.s = m.s * v.invW;
  v.t = m.t * v.invW;
  // Fixed-function GL clamps vertex colours before they are interpolated.
  v.r = std::clamp(m.red, 0.0f, 1.0f) * v.invW;
  v.g = std::clamp(m.green, 0.0f, 1.0f) * v.invW;
  v.b = std::clamp(m.blue, 0.0f, 1.0f) * v.invW;
  return v;
}

// Adds one textured, modulated triangle into the float framebuffer.
void AddTriangle(const ScreenVertex& a, const ScreenVertex& b, const ScreenVertex& c, int width,
                 int height, std::vector<float>& frame) {
  const float area = (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
  if (area == 0) return;
  const int x0 = std::max(0, static_cast<int>(std::floor(std::min({a.x, b.x, c.x}))));
  const int x1 = std::min(width - 1, static_cast<int>(std::ceil(std::max({a.x, b.x, c.x}))));
  const int y0 = std::max(0, static_cast<int>(std::floor(std::min({a.y, b.y, c.y}))));
  const int y1 = std::min(height - 1, static_cast<int>(std::ceil(std::max({a.y, b.y, c.y}))));
  for (int y = y0; y <= y1; ++y) {
    const float py = y + 0.5f;
    for (int x = x0; x <= x1; ++x) {
      const float px = x + 0.5f;
      float wa = ((b.x - px) * (c.y - py) - (b.y - py) * (c.x - px)) / area;
      float wb = ((c.x - px) * (a.y - py) - (c.y - py) * (a.x - px)) / area;
      float wc = 1 - wa - wb;
      if (wa < 0 || wb < 0 || wc < 0) continue;
      const float invW = wa * a.invW + wb * b.invW + wc * c.invW;
      const float s = (wa * a.s + wb * b.s + wc * c.s) / invW;
      const float t = (wa * a.t + wb * b.t + wc * c.t) / invW;
      const float lum = Texel(s, t);
      float* out = &frame[3 * (static_cast<std::size_t>(y) * width + x)];
      out[0] += lum * (wa * a.r + wb * b.r + wc * c.r) / invW;
      out[1] += lum * (wa * a.g + wb * b.g + wc * c.g) / invW;
      out[2] += lum * (wa * a.b + wb * b.b + wc * c.b) / invW;
    }
  }
}

}  // namespace

void StillHues(const StillFrame& frame, float hues[2], float saturations[2]) {
  const std::vector<Veil> veils = VeilsAt(frame);
  for (int n = 0; n < 2; ++n) {
    hues[n] = veils[n].hue;
    saturations[n] = veils[n].saturation;
  }
}

StillImage DrawStill(const StillFrame& frame, int width, int height, int supersample) {
  const int w = width * supersample, h = height * supersample;
  std::vector<float> fine(static_cast<std::size_t>(w) * h * 3, 0.0f);
  std::vector<MeshVertex> mesh(kMeshVertexCount);
  std::vector<std::uint16_t> strips(static_cast<std::size_t>(kStripCount * kStripLength));
  std::vector<std::uint16_t> triangles(kMaxTriangleIndices);
  BuildStripIndices(strips.data());
  for (const Veil& veil : VeilsAt(frame)) {
    FillMesh(veil, mesh.data());
    const int count = BuildLitTriangles(mesh.data(), strips.data(), triangles.data());
    const float dx = 0.2f * veil.coefficient[0], dy = 0.2f * veil.coefficient[1];
    for (int k = 0; k + 2 < count; k += 3) {
      AddTriangle(Project(mesh[triangles[k]], dx, dy, w, h),
                  Project(mesh[triangles[k + 1]], dx, dy, w, h),
                  Project(mesh[triangles[k + 2]], dx, dy, w, h), w, h, fine);
    }
  }
  StillImage image;
  image.width = width;
  image.height = height;
  image.rgb.resize(static_cast<std::size_t>(width) * height * 3);
  const float samples = static_cast<float>(supersample * supersample);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      for (int ch = 0; ch < 3; ++ch) {
        float sum = 0;
        for (int sy = 0; sy < supersample; ++sy) {
          for (int sx = 0; sx < supersample; ++sx) {
            // The framebuffer saturates at full intensity.
            const std::size_t at =
                static_cast<std::size_t>(y * supersample + sy) * w + (x * supersample + sx);
            sum += std::min(1.0f, fine[3 * at + ch]);
          }
        }
        image.rgb[3 * (static_cast<std::size_t>(y) * width + x) + ch] =
            static_cast<std::uint8_t>(std::lround(255.0f * sum / samples));
      }
    }
  }
  return image;
}
