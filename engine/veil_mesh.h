// A veil as GL client arrays: one vertex per grid point, drawn as triangle
// strips through an index list. Pure, so the vertex rule can be tested natively.
#pragma once

#include "engine/veil.h"

#include <cstdint>

// Interleaved in the order GL_T2F_C3F_V3F expects.
struct MeshVertex {
    float s, t;               // texture: the wave displacement slides the image
    float red, green, blue;   // veil colour faded by intensity; negatives clamp to black
    float x, y, z;            // rest position, pulled toward the camera by intensity
};

constexpr int meshVertexCount = gridSide * gridSide;
constexpr int stripCount = gridCells;
constexpr int stripLength = 2 * gridSide;   // vertex [i + 1][j], then [i][j], for every j

// Strip i uses indices [i * stripLength, (i + 1) * stripLength).
void buildStripIndices(std::uint16_t* indices);
void fillMesh(const Veil& veil, MeshVertex* mesh);
