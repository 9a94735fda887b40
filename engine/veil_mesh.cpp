#include "engine/veil_mesh.h"

namespace orvane::engine {

void BuildStripIndices(std::uint16_t* indices) {
  for (int i = 0; i < kStripCount; ++i) {
    for (int j = 0; j < kGridSide; ++j) {
      *indices++ = static_cast<std::uint16_t>((i + 1) * kGridSide + j);
      *indices++ = static_cast<std::uint16_t>(i * kGridSide + j);
    }
  }
}

void FillMesh(const Veil& veil, MeshVertex* mesh) {
  for (const VeilVertex& p : veil.grid) {
    const float intensity = p.intensity;
    *mesh++ = MeshVertex{p.u - p.x,
                         p.v - p.y,
                         veil.red + intensity - 1,
                         veil.green + intensity - 1,
                         veil.blue + intensity - 1,
                         p.u,
                         p.v,
                         intensity};
  }
}

int BuildLitTriangles(const MeshVertex* mesh, const std::uint16_t* stripIndices,
                      std::uint16_t* triangles) {
  // Colours at or below 0 are clamped to 0 before shading: such a corner is black.
  auto lit = [mesh](std::uint16_t n) {
    return mesh[n].red > 0 || mesh[n].green > 0 || mesh[n].blue > 0;
  };
  std::uint16_t* out = triangles;
  for (int i = 0; i < kStripCount; ++i) {
    const std::uint16_t* strip = stripIndices + i * kStripLength;
    for (int k = 0; k + 2 < kStripLength; ++k) {
      if (!lit(strip[k]) && !lit(strip[k + 1]) && !lit(strip[k + 2])) continue;
      // A strip flips every other triangle to keep one orientation.
      const bool odd = k & 1;
      *out++ = strip[odd ? k + 1 : k];
      *out++ = strip[odd ? k : k + 1];
      *out++ = strip[k + 2];
    }
  }
  return static_cast<int>(out - triangles);
}

}  // namespace orvane::engine
