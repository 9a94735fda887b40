#include "tests/oracle/veil_reference.h"

#include <cmath>

namespace orvane::oracle {

using namespace engine;

void ReferenceUpdateVeil(Veil& veil, float dt) {
  const float twoPi = 6.2831855f;
  const float cutoff = kReferenceCutoff;
  const float inverseCutoff = kReferenceInverseCutoff;

  for (int k = 0; k < kWaveCount; ++k) {
    veil.phase[k] += dt * veil.phaseSpeed[k];
    if (veil.phase[k] > twoPi) veil.phase[k] -= twoPi;
    veil.coefficient[k] = std::cos(veil.phase[k]);
  }

  const float* c = veil.coefficient;
  for (int i = 0; i <= kGridCells; ++i) {
    for (int j = 0; j <= kGridCells; ++j) {
      VeilVertex& p = veil.At(i, j);
      p.x = c[0] * p.u * p.u * p.v + c[1] * p.w + 0.5f * c[2];
      p.y = c[3] * p.v * p.v * p.w + c[4] * p.u + 0.5f * c[5];
      p.z = c[6] * p.u * p.w * p.w + c[7] * p.v + c[8];
    }
  }

  for (int i = 1; i < kGridCells; ++i) {
    for (int j = 1; j < kGridCells; ++j) {
      const VeilVertex& up = veil.At(i, j + 1);
      const VeilVertex& down = veil.At(i, j - 1);
      const VeilVertex& right = veil.At(i + 1, j);
      const VeilVertex& left = veil.At(i - 1, j);
      Vec3 a(up.x - down.x, up.y - down.y, up.z - down.z);
      Vec3 b(right.x - left.x, right.y - left.y, right.z - left.z);
      Normalize(a);
      Normalize(b);
      const Vec3 n = Cross(b, a);
      float intensity = (cutoff - std::fabs(n.z)) * inverseCutoff;
      if (intensity > 1) intensity = 1;
      if (intensity < 0) intensity = 0;
      veil.At(i, j).intensity = intensity;
    }
  }

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

float Normalize(Vec3& v) {
  const float length = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
  if (length == 0.0f) {
    v.y = 1.0f;
    return 0.0f;
  }
  const float inverse = 1.0f / length;
  v.x *= inverse;
  v.y *= inverse;
  v.z *= inverse;
  return length;
}

Vec3 Cross(const Vec3& a, const Vec3& b) {
  return Vec3(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
}

}  // namespace orvane::oracle
