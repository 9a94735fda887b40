#include "engine/veil.h"

#include <cmath>

// Four vertices are lit at a time with SSE2 where the processor has it (every
// x86_64); elsewhere (arm64, or ORVANE_VEIL_SCALAR, which the unit tests build
// to keep this path compiling and compared) one at a time.
#if defined(__SSE2__) && !defined(ORVANE_VEIL_SCALAR)
#define ORVANE_VEIL_SSE2 1
#include <emmintrin.h>
#else
#define ORVANE_VEIL_SSE2 0
#endif

namespace orvane::engine {

namespace {

constexpr float kTwoPi = 6.2831855f;
constexpr float kCutoff = kBrightnessThreshold;
constexpr float kInverseCutoff = kInverseBrightnessThreshold;
constexpr float kSpeedSpread = kWaveRate * 0.03f;
constexpr float kSpeedBase = kWaveRate * 0.001f;

float Draw(RandomGenerator& random) { return static_cast<float>(NextRandom(random)); }

void AdvanceWaves(Veil& veil, float dt) {
  for (int k = 0; k < kWaveCount; ++k) {
    veil.phase[k] += dt * veil.phaseSpeed[k];
    if (veil.phase[k] > kTwoPi) veil.phase[k] -= kTwoPi;
    veil.coefficient[k] = std::cos(veil.phase[k]);
  }
}

void DriftColour(Veil& veil, float dt) {
  veil.hue += dt * veil.hueSpeed;
  if (veil.hue < 0) veil.hue += 1;
  if (veil.hue > 1) veil.hue -= 1;
  veil.saturation += dt * veil.saturationSpeed;
  if (veil.saturation <= 0.1f) {
    veil.saturationSpeed = -veil.saturationSpeed;
    veil.saturation = 0.1f;
  }
  if (veil.saturation >= 1) {
    veil.saturationSpeed = -veil.saturationSpeed;
    veil.saturation = 1;
  }
  const Rgb rgb = HsvToRgb(veil.hue, veil.saturation, veil.value);
  veil.red = rgb.red;
  veil.green = rgb.green;
  veil.blue = rgb.blue;
}

// One row of rippled positions, kept apart (x, y, z as separate arrays) so the
// normal loop below runs over contiguous floats. Padded to whole SSE vectors.
constexpr int kPaddedSide = (kGridSide + 3) / 4 * 4;
struct RowPositions {
  alignas(16) float x[kPaddedSide];
  alignas(16) float y[kPaddedSide];
  alignas(16) float z[kPaddedSide];
};

// Per-column terms shared by every row. The products keep the left-to-right
// order of the wave formulas, so positions come out bit for bit the same.
struct ColumnTerms {
  alignas(16) float v[kPaddedSide];
  alignas(16) float vv[kPaddedSide];    // v * v, as in w = u * u + v * v
  alignas(16) float c3vv[kPaddedSide];  // c3 * v * v
  alignas(16) float c7v[kPaddedSide];   // c7 * v
};

void PrepareColumns(const Veil& veil, ColumnTerms& t) {
  const float* c = veil.coefficient;
  for (int j = 0; j < kPaddedSide; ++j) {
    const float v = j < kGridSide ? veil.At(0, j).v : 0.0f;
    t.v[j] = v;
    t.vv[j] = v * v;
    t.c3vv[j] = c[3] * v * v;
    t.c7v[j] = c[7] * v;
  }
}

void ComputeRow(const float* c, const ColumnTerms& t, VeilVertex* row, RowPositions& out) {
  const float u = row[0].u;
  const float uu = u * u;
  const float c0uu = c[0] * u * u;
  const float c1 = c[1], halfC2 = 0.5f * c[2];
  const float c4u = c[4] * u, halfC5 = 0.5f * c[5];
  const float c6u = c[6] * u, c8 = c[8];
  for (int j = 0; j < kPaddedSide; ++j) {
    const float w = uu + t.vv[j];
    out.x[j] = c0uu * t.v[j] + c1 * w + halfC2;
    out.y[j] = t.c3vv[j] * w + c4u + halfC5;
    out.z[j] = c6u * w * w + t.c7v[j] + c8;
  }
  for (int j = 0; j < kGridSide; ++j) {
    row[j].x = out.x[j];
    row[j].y = out.y[j];
    row[j].z = out.z[j];
  }
}

// Intensity of one interior vertex. Only the z of the normal b^ x a^ matters,
// so it is taken as (b x a).z / (|a| |b|) without building the unit vectors;
// a zero vector stands for (0, 1, 0), as the step-by-step update in
// tests/oracle/veil_reference.cpp has it.
float LightVertex(const RowPositions& prev, const RowPositions& cur, const RowPositions& next,
                  int j) {
  float ax = cur.x[j + 1] - cur.x[j - 1];
  float ay = cur.y[j + 1] - cur.y[j - 1];
  const float az = cur.z[j + 1] - cur.z[j - 1];
  float bx = next.x[j] - prev.x[j];
  float by = next.y[j] - prev.y[j];
  const float bz = next.z[j] - prev.z[j];
  const float a2 = ax * ax + ay * ay + az * az;
  const float b2 = bx * bx + by * by + bz * bz;
  float la = 1, lb = 1;
  if (a2 == 0.0f)
    ax = 0, ay = 1;
  else
    la = std::sqrt(a2);
  if (b2 == 0.0f)
    bx = 0, by = 1;
  else
    lb = std::sqrt(b2);
  const float nz = (bx * ay - by * ax) / (la * lb);
  const float intensity = (kCutoff - std::fabs(nz)) * kInverseCutoff;
  return intensity > 1.0f ? 1.0f : intensity < 0.0f ? 0.0f : intensity;
}

void LightRow(const RowPositions& prev, const RowPositions& cur, const RowPositions& next,
              VeilVertex* row) {
  int j = 1;
#if ORVANE_VEIL_SSE2
  // Four vertices at a time, the same arithmetic as LightVertex.
  const __m128 zero = _mm_setzero_ps(), one = _mm_set1_ps(1.0f);
  const __m128 signBit = _mm_set1_ps(-0.0f);
  const __m128 t = _mm_set1_ps(kCutoff), inverseT = _mm_set1_ps(kInverseCutoff);
  for (; j + 3 < kGridCells; j += 4) {
    __m128 ax = _mm_sub_ps(_mm_loadu_ps(cur.x + j + 1), _mm_loadu_ps(cur.x + j - 1));
    __m128 ay = _mm_sub_ps(_mm_loadu_ps(cur.y + j + 1), _mm_loadu_ps(cur.y + j - 1));
    const __m128 az = _mm_sub_ps(_mm_loadu_ps(cur.z + j + 1), _mm_loadu_ps(cur.z + j - 1));
    __m128 bx = _mm_sub_ps(_mm_loadu_ps(next.x + j), _mm_loadu_ps(prev.x + j));
    __m128 by = _mm_sub_ps(_mm_loadu_ps(next.y + j), _mm_loadu_ps(prev.y + j));
    const __m128 bz = _mm_sub_ps(_mm_loadu_ps(next.z + j), _mm_loadu_ps(prev.z + j));
    const __m128 a2 =
        _mm_add_ps(_mm_add_ps(_mm_mul_ps(ax, ax), _mm_mul_ps(ay, ay)), _mm_mul_ps(az, az));
    const __m128 b2 =
        _mm_add_ps(_mm_add_ps(_mm_mul_ps(bx, bx), _mm_mul_ps(by, by)), _mm_mul_ps(bz, bz));
    const __m128 aZero = _mm_cmpeq_ps(a2, zero), bZero = _mm_cmpeq_ps(b2, zero);
    ax = _mm_andnot_ps(aZero, ax);
    ay = _mm_or_ps(_mm_andnot_ps(aZero, ay), _mm_and_ps(aZero, one));
    bx = _mm_andnot_ps(bZero, bx);
    by = _mm_or_ps(_mm_andnot_ps(bZero, by), _mm_and_ps(bZero, one));
    const __m128 la = _mm_or_ps(_mm_andnot_ps(aZero, _mm_sqrt_ps(a2)), _mm_and_ps(aZero, one));
    const __m128 lb = _mm_or_ps(_mm_andnot_ps(bZero, _mm_sqrt_ps(b2)), _mm_and_ps(bZero, one));
    const __m128 nz =
        _mm_div_ps(_mm_sub_ps(_mm_mul_ps(bx, ay), _mm_mul_ps(by, ax)), _mm_mul_ps(la, lb));
    __m128 intensity = _mm_mul_ps(_mm_sub_ps(t, _mm_andnot_ps(signBit, nz)), inverseT);
    intensity = _mm_max_ps(_mm_min_ps(intensity, one), zero);
    alignas(16) float out[4];
    _mm_store_ps(out, intensity);
    for (int n = 0; n < 4; ++n) row[j + n].intensity = out[n];
  }
#endif
  for (; j < kGridCells; ++j) row[j].intensity = LightVertex(prev, cur, next, j);
}

}  // namespace

void SeedRandom(RandomGenerator& random, std::uint32_t seed) {
  random.seed = static_cast<std::int32_t>(seed);
}

int NextRandom(RandomGenerator& random) {
  const std::uint32_t next = static_cast<std::uint32_t>(random.seed) * 214013u + 2531011u;
  random.seed = static_cast<std::int32_t>(next);
  return static_cast<int>((next >> 16) & 0x7FFF);
}

Rgb HsvToRgb(float hue, float saturation, float value) {
  // Six-digit sector boundaries, compared in double; the subtracted constants are floats.
  const double h = hue;
  float r, g, b;
  if (h < 0.166667) {
    r = 1;
    g = 6 * hue;
    b = 0;
  } else if (h < 0.333333) {
    r = 1 - 6 * (hue - 0.166667f);
    g = 1;
    b = 0;
  } else if (h < 0.5) {
    r = 0;
    g = 1;
    b = 6 * (hue - 0.333333f);
  } else if (h < 0.666667) {
    r = 0;
    g = 1 - 6 * (hue - 0.5f);
    b = 1;
  } else if (h < 0.833333) {
    r = 6 * (hue - 0.666667f);
    g = 0;
    b = 1;
  } else {
    r = 1;
    g = 0;
    b = 1 - 6 * (hue - 0.833333f);
  }
  r = 1 - saturation * (1 - r);
  g = 1 - saturation * (1 - g);
  b = 1 - saturation * (1 - b);
  return Rgb{r * value, g * value, b * value};
}

Veil CreateVeil(RandomGenerator& random) {
  Veil veil;
  const float step = 1.0f / (kGridCells * 0.5f);
  veil.grid.resize(static_cast<std::size_t>(kGridSide * kGridSide));
  for (int i = 0; i < kGridSide; ++i) {
    for (int j = 0; j < kGridSide; ++j) {
      VeilVertex& p = veil.At(i, j);
      p.u = i * step - 1;
      p.v = j * step - 1;
      p.w = p.u * p.u + p.v * p.v;
      p.x = p.y = p.z = 0;
      p.intensity = 0;
    }
  }
  // The draws are evaluated left to right so r = 32767 lands exactly on the upper bounds.
  for (int k = 0; k < kWaveCount; ++k) {
    veil.coefficient[k] = Draw(random) * 2.0f / 32767.0f - 1.0f;
    veil.phase[k] = Draw(random) * kTwoPi / 32767.0f;
    veil.phaseSpeed[k] = Draw(random) * kSpeedSpread / 32767.0f + kSpeedBase;
  }
  veil.hue = Draw(random) / 32767.0f;
  veil.value = 1.0f;
  veil.saturation = Draw(random) * 0.9f / 32767.0f + 0.1f;
  veil.hueSpeed = Draw(random) * 0.1f / 32767.0f - 0.05f;
  veil.saturationSpeed = Draw(random) * 0.04f / 32767.0f + 0.001f;
  veil.red = veil.green = veil.blue = 0;
  return veil;
}

void UpdateVeil(Veil& veil, float dt) {
  AdvanceWaves(veil, dt);

  // Rows are computed one ahead of the row being lit, in a ring of three.
  ColumnTerms columns;
  PrepareColumns(veil, columns);
  RowPositions rows[3];
  VeilVertex* grid = veil.grid.data();
  ComputeRow(veil.coefficient, columns, grid, rows[0]);
  ComputeRow(veil.coefficient, columns, grid + kGridSide, rows[1]);
  for (int i = 1; i < kGridCells; ++i) {
    ComputeRow(veil.coefficient, columns, grid + (i + 1) * kGridSide, rows[(i + 1) % 3]);
    LightRow(rows[(i - 1) % 3], rows[i % 3], rows[(i + 1) % 3], grid + i * kGridSide);
  }

  DriftColour(veil, dt);
}

void DestroyVeil(Veil& veil) {
  veil.grid.clear();
  veil.grid.shrink_to_fit();
}

}  // namespace orvane::engine
