#include "engine/veil_mesh.h"

void buildStripIndices(std::uint16_t* indices) {
    for (int i = 0; i < stripCount; ++i) {
        for (int j = 0; j < gridSide; ++j) {
            *indices++ = static_cast<std::uint16_t>((i + 1) * gridSide + j);
            *indices++ = static_cast<std::uint16_t>(i * gridSide + j);
        }
    }
}

void fillMesh(const Veil& veil, MeshVertex* mesh) {
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
