// The veil update written out step by step, the yardstick for the production
// update in benchmarks and tests.
#pragma once

#include "engine/veil.h"

namespace orvane::oracle {

// T = 0.4 and 1/T = 2.5, written as the numbers they are.
constexpr float kReferenceCutoff = 0.4f;
constexpr float kReferenceInverseCutoff = 1.0f / kReferenceCutoff;

void ReferenceUpdateVeil(engine::Veil& veil, float dt);

// The vector routines the step-by-step update lights each vertex with.
struct Vec3 {
  float x = 0, y = 0, z = 0;
  Vec3() = default;
  Vec3(float x, float y, float z) : x(x), y(y), z(z) {}
};

// Scales v to unit length and returns its former length; a zero vector becomes (0, 1, 0).
float Normalize(Vec3& v);
Vec3 Cross(const Vec3& a, const Vec3& b);

}  // namespace orvane::oracle
