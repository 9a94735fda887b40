#include "engine/veil.h"

#include <cmath>

namespace {

std::int32_t seedState = 1;

constexpr float twoPi = 6.2831855f;
constexpr float cutoff = brightnessCutoff * 0.01f;   // T
constexpr float inverseCutoff = 1.0f / cutoff;        // 1/T
constexpr float speedSpread = waveRate * 0.03f;
constexpr float speedBase = waveRate * 0.001f;

float draw() { return static_cast<float>(nextRandom()); }

void advanceWaves(Veil& veil, float dt) {
    for (int k = 0; k < waveCount; ++k) {
        veil.phase[k] += dt * veil.phaseSpeed[k];
        if (veil.phase[k] > twoPi) veil.phase[k] -= twoPi;
        veil.coefficient[k] = std::cos(veil.phase[k]);
    }
}

void driftColour(Veil& veil, float dt) {
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
    const Rgb rgb = hsvToRgb(veil.hue, veil.saturation, veil.value);
    veil.red = rgb.red;
    veil.green = rgb.green;
    veil.blue = rgb.blue;
}

// One row of rippled positions, kept apart (x, y, z as separate arrays) so the
// normal loop below runs over contiguous floats.
struct RowPositions {
    float x[gridSide], y[gridSide], z[gridSide];
};

void computeRow(const float* c, VeilVertex* row, RowPositions& out) {
    for (int j = 0; j < gridSide; ++j) {
        VeilVertex& p = row[j];
        const float u = p.u, v = p.v, w = p.w;
        const float x = c[0] * u * u * v + c[1] * w + 0.5f * c[2];
        const float y = c[3] * v * v * w + c[4] * u + 0.5f * c[5];
        const float z = c[6] * u * w * w + c[7] * v + c[8];
        p.x = out.x[j] = x;
        p.y = out.y[j] = y;
        p.z = out.z[j] = z;
    }
}

// Intensities of the interior vertices of one row. Only the z of the normal
// b^ x a^ matters, so it is taken as (b x a).z / (|a| |b|) without building the
// unit vectors; a zero vector stands for (0, 1, 0) as normalize() has it.
void lightRow(const RowPositions& prev, const RowPositions& cur, const RowPositions& next, VeilVertex* row) {
    float out[gridSide];
    for (int j = 1; j < gridCells; ++j) {
        float ax = cur.x[j + 1] - cur.x[j - 1];
        float ay = cur.y[j + 1] - cur.y[j - 1];
        const float az = cur.z[j + 1] - cur.z[j - 1];
        float bx = next.x[j] - prev.x[j];
        float by = next.y[j] - prev.y[j];
        const float bz = next.z[j] - prev.z[j];
        const float a2 = ax * ax + ay * ay + az * az;
        const float b2 = bx * bx + by * by + bz * bz;
        const bool aZero = a2 == 0.0f, bZero = b2 == 0.0f;
        ax = aZero ? 0.0f : ax;
        ay = aZero ? 1.0f : ay;
        bx = bZero ? 0.0f : bx;
        by = bZero ? 1.0f : by;
        const float la = aZero ? 1.0f : std::sqrt(a2);
        const float lb = bZero ? 1.0f : std::sqrt(b2);
        const float nz = (bx * ay - by * ax) / (la * lb);
        float intensity = (cutoff - std::fabs(nz)) * inverseCutoff;
        intensity = intensity > 1.0f ? 1.0f : intensity;
        intensity = intensity < 0.0f ? 0.0f : intensity;
        out[j] = intensity;
    }
    for (int j = 1; j < gridCells; ++j) row[j].intensity = out[j];
}

}  // namespace

void seedRandom(std::uint32_t seed) { seedState = static_cast<std::int32_t>(seed); }

int nextRandom() {
    const std::uint32_t next = static_cast<std::uint32_t>(seedState) * 214013u + 2531011u;
    seedState = static_cast<std::int32_t>(next);
    return static_cast<int>((next >> 16) & 0x7FFF);
}

float normalize(Vec3& v) {
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

Vec3 cross(const Vec3& a, const Vec3& b) {
    return Vec3(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
}

Rgb hsvToRgb(float hue, float saturation, float value) {
    // Six-digit sector boundaries, compared in double; the subtracted constants are floats.
    const double h = hue;
    float r, g, b;
    if (h < 0.166667) {
        r = 1; g = 6 * hue; b = 0;
    } else if (h < 0.333333) {
        r = 1 - 6 * (hue - 0.166667f); g = 1; b = 0;
    } else if (h < 0.5) {
        r = 0; g = 1; b = 6 * (hue - 0.333333f);
    } else if (h < 0.666667) {
        r = 0; g = 1 - 6 * (hue - 0.5f); b = 1;
    } else if (h < 0.833333) {
        r = 6 * (hue - 0.666667f); g = 0; b = 1;
    } else {
        r = 1; g = 0; b = 1 - 6 * (hue - 0.833333f);
    }
    r = 1 - saturation * (1 - r);
    g = 1 - saturation * (1 - g);
    b = 1 - saturation * (1 - b);
    return Rgb{r * value, g * value, b * value};
}

Veil createVeil() {
    Veil veil;
    const float step = 1.0f / (gridCells * 0.5f);
    veil.grid.resize(static_cast<std::size_t>(gridSide * gridSide));
    for (int i = 0; i < gridSide; ++i) {
        for (int j = 0; j < gridSide; ++j) {
            VeilVertex& p = veil.at(i, j);
            p.u = i * step - 1;
            p.v = j * step - 1;
            p.w = p.u * p.u + p.v * p.v;
            p.x = p.y = p.z = 0;
            p.intensity = 0;
        }
    }
    // The draws are evaluated left to right so r = 32767 lands exactly on the upper bounds.
    for (int k = 0; k < waveCount; ++k) {
        veil.coefficient[k] = draw() * 2.0f / 32767.0f - 1.0f;
        veil.phase[k] = draw() * twoPi / 32767.0f;
        veil.phaseSpeed[k] = draw() * speedSpread / 32767.0f + speedBase;
    }
    veil.hue = draw() / 32767.0f;
    veil.value = 1.0f;
    veil.saturation = draw() * 0.9f / 32767.0f + 0.1f;
    veil.hueSpeed = draw() * 0.1f / 32767.0f - 0.05f;
    veil.saturationSpeed = draw() * 0.04f / 32767.0f + 0.001f;
    veil.red = veil.green = veil.blue = 0;
    return veil;
}

void updateVeil(Veil& veil, float dt) {
    advanceWaves(veil, dt);

    // Rows are computed one ahead of the row being lit, in a ring of three.
    RowPositions rows[3];
    VeilVertex* grid = veil.grid.data();
    computeRow(veil.coefficient, grid, rows[0]);
    computeRow(veil.coefficient, grid + gridSide, rows[1]);
    for (int i = 1; i < gridCells; ++i) {
        computeRow(veil.coefficient, grid + (i + 1) * gridSide, rows[(i + 1) % 3]);
        lightRow(rows[(i - 1) % 3], rows[i % 3], rows[(i + 1) % 3], grid + i * gridSide);
    }

    driftColour(veil, dt);
}

void destroyVeil(Veil& veil) {
    veil.grid.clear();
    veil.grid.shrink_to_fit();
}
