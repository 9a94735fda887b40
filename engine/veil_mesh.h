// A veil as GL client arrays: one vertex per grid point, drawn as triangle
// strips through an index list. Pure, so the vertex rule can be tested natively.
#pragma once

#include "engine/veil.h"

#include <cstdint>

namespace orvane::engine {

// Interleaved in the order GL_T2F_C3F_V3F expects.
struct MeshVertex {
  float s, t;              // texture: the wave displacement slides the image
  float red, green, blue;  // veil colour faded by intensity; negatives clamp to black
  float x, y, z;           // rest position, pulled toward the camera by intensity
};

constexpr int kMeshVertexCount = kGridSide * kGridSide;
constexpr int kStripCount = kGridCells;
constexpr int kStripLength = 2 * kGridSide;  // vertex [i + 1][j], then [i][j], for every j

// Strip i uses indices [i * kStripLength, (i + 1) * kStripLength).
void BuildStripIndices(std::uint16_t* indices);
void FillMesh(const Veil& veil, MeshVertex* mesh);

// The strips' triangles as a plain triangle list, leaving out every triangle
// whose three corners are black: it would add nothing to the additive picture,
// but its pixels would still cost fill. Triangles keep the strip's orientation.
// Returns the number of indices written (at most kMaxTriangleIndices).
constexpr int kMaxTriangleIndices = kStripCount * (kStripLength - 2) * 3;
int BuildLitTriangles(const MeshVertex* mesh, const std::uint16_t* stripIndices,
                      std::uint16_t* triangles);

}  // namespace orvane::engine
