// The veils: rippling sheets whose waves slide the texture and whose steepness
// lights them, plus the engine's small numeric routines. Pure code.
#pragma once

#include <cstdint>
#include <vector>

namespace orvane::engine {

// Fixed engine parameters.
constexpr int kVeilCount = 2;
constexpr int kGridCells = 100;        // cells per side; kGridCells + 1 vertices per side
constexpr int kBrightnessCutoff = 40;  // T = kBrightnessCutoff / 100
constexpr int kWaveRate = 15;  // phase speeds: base kWaveRate * 0.001, spread kWaveRate * 0.03
constexpr int kGridSide = kGridCells + 1;
constexpr int kWaveCount = 9;

// The brightness threshold T and its reciprocal. Divided rather than scaled by
// 0.01f, which is itself rounded and would leave T one step below 0.4.
constexpr float kBrightnessThreshold = kBrightnessCutoff / 100.0f;
constexpr float kInverseBrightnessThreshold = 1.0f / kBrightnessThreshold;

// The engine's own generator: a 32-bit LCG, results 0..32767. Each running
// picture owns one, so two pictures (or a test and a picture) never share a sequence.
struct RandomGenerator {
  std::int32_t seed = 1;
};
void SeedRandom(RandomGenerator& random, std::uint32_t seed);
int NextRandom(RandomGenerator& random);

struct Rgb {
  float red, green, blue;
};
Rgb HsvToRgb(float hue, float saturation, float value);

struct VeilVertex {
  float x, y, z;    // rippled position
  float u, v;       // rest coordinates in [-1, 1]
  float w;          // u^2 + v^2
  float intensity;  // brightness in [0, 1]; the outer ring stays 0
};

struct Veil {
  std::vector<VeilVertex>
      grid;  // kGridSide * kGridSide, index i * kGridSide + j (i along u, j along v)
  float coefficient[kWaveCount];
  float phase[kWaveCount];
  float phaseSpeed[kWaveCount];
  float hue;
  float saturation;
  float value;
  float red, green, blue;
  float hueSpeed;
  float saturationSpeed;

  VeilVertex& At(int i, int j) { return grid[static_cast<std::size_t>(i * kGridSide + j)]; }
  const VeilVertex& At(int i, int j) const {
    return grid[static_cast<std::size_t>(i * kGridSide + j)];
  }
};

Veil CreateVeil(RandomGenerator& random);
void UpdateVeil(Veil& veil, float dt);
void DestroyVeil(Veil& veil);

}  // namespace orvane::engine
