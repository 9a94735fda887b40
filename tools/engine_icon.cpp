// Draws the engine's icon: two glowing, rippling veils added on a black rounded
// square, at 16, 32 and 48 pixels, written as a Windows .ico (32-bit with alpha).
//
//   engine_icon OUT.ico        write the icon
//   engine_icon --check FILE   exit 0 when FILE holds exactly what this program draws
//
// No randomness and no clock: the same program always draws the same bytes.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

struct Rgba {
  float r = 0, g = 0, b = 0, a = 0;
};

struct VeilLook {
  float r, g, b;
  float slope;  // how steeply its streaks run
  float phase;  // where its ripples start
};

constexpr VeilLook kVeils[] = {
    {0.15f, 0.75f, 1.0f, 0.22f, 0.0f},
    {1.0f, 0.30f, 0.75f, -0.18f, 1.9f},
};

// Inside of a square with rounded corners, u and v in [-1, 1].
bool InsideTile(float u, float v) {
  constexpr float kHalf = 0.94f, kRadius = 0.32f;
  const float du = std::max(std::fabs(u) - (kHalf - kRadius), 0.0f);
  const float dv = std::max(std::fabs(v) - (kHalf - kRadius), 0.0f);
  return std::fabs(u) <= kHalf && std::fabs(v) <= kHalf && du * du + dv * dv <= kRadius * kRadius;
}

// Brightness of one veil's streaks; fewer, wider streaks where pixels are few.
float Streaks(const VeilLook& veil, float u, float v, int size) {
  const int count = size < 24 ? 3 : 5;
  const float width = std::max(0.07f, 2.2f / static_cast<float>(size));
  float sum = 0;
  for (int k = 0; k < count; ++k) {
    const float offset = -0.7f + 1.4f * (static_cast<float>(k) + 0.5f) / static_cast<float>(count);
    const float centre =
        offset + veil.slope * u + 0.12f * std::sin(2.6f * u + veil.phase + 1.3f * k);
    const float d = (v - centre) / width;
    sum += std::exp(-d * d);
  }
  // The sheet glows brightest in the middle, as the veils do on screen.
  const float glow = 0.55f + 0.45f * std::exp(-(u * u + v * v));
  return std::min(sum, 1.0f) * glow;
}

Rgba Pixel(int size, int x, int y) {
  constexpr int kSamples = 4;
  Rgba out;
  for (int sy = 0; sy < kSamples; ++sy) {
    for (int sx = 0; sx < kSamples; ++sx) {
      const float u = ((x + (sx + 0.5f) / kSamples) / size) * 2 - 1;
      const float v = 1 - ((y + (sy + 0.5f) / kSamples) / size) * 2;
      if (!InsideTile(u, v)) continue;
      Rgba s;
      for (const VeilLook& veil : kVeils) {
        const float i = Streaks(veil, u, v, size);
        s.r += veil.r * i;
        s.g += veil.g * i;
        s.b += veil.b * i;
      }
      out.r += std::min(s.r, 1.0f);
      out.g += std::min(s.g, 1.0f);
      out.b += std::min(s.b, 1.0f);
      out.a += 1;
    }
  }
  constexpr float kSampleCount = kSamples * kSamples;
  return {out.r / kSampleCount, out.g / kSampleCount, out.b / kSampleCount, out.a / kSampleCount};
}

std::uint8_t Byte(float f) {
  return static_cast<std::uint8_t>(std::lround(std::clamp(f, 0.0f, 1.0f) * 255));
}

void Put16(std::vector<std::uint8_t>& out, unsigned v) {
  out.push_back(v & 0xFF);
  out.push_back((v >> 8) & 0xFF);
}
void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

// One icon image: header, BGRA rows bottom-up with straight (not premultiplied) alpha,
// then the 1-bit mask for readers that ignore alpha.
std::vector<std::uint8_t> IconImage(int size) {
  const int maskStride = ((size + 31) / 32) * 4;
  std::vector<std::uint8_t> out;
  Put32(out, 40);
  Put32(out, size);
  Put32(out, size * 2);  // colour plus mask
  Put16(out, 1);
  Put16(out, 32);
  Put32(out, 0);
  Put32(out, size * size * 4 + maskStride * size);
  for (int i = 0; i < 4; ++i) Put32(out, 0);

  std::vector<std::uint8_t> mask(maskStride * size, 0);
  for (int row = 0; row < size; ++row) {
    const int y = size - 1 - row;
    for (int x = 0; x < size; ++x) {
      const Rgba p = Pixel(size, x, y);
      const float a = p.a > 0 ? p.a : 1;
      out.push_back(Byte(p.b / a));
      out.push_back(Byte(p.g / a));
      out.push_back(Byte(p.r / a));
      out.push_back(Byte(p.a));
      if (p.a < 0.5f) mask[row * maskStride + x / 8] |= 0x80 >> (x % 8);
    }
  }
  out.insert(out.end(), mask.begin(), mask.end());
  return out;
}

std::vector<std::uint8_t> IconFile() {
  const int sizes[] = {16, 32, 48};
  const int count = sizeof sizes / sizeof sizes[0];
  std::vector<std::vector<std::uint8_t>> images;
  for (int size : sizes) images.push_back(IconImage(size));

  std::vector<std::uint8_t> out;
  Put16(out, 0);
  Put16(out, 1);  // icon
  Put16(out, count);
  std::uint32_t offset = 6 + 16 * count;
  for (int i = 0; i < count; ++i) {
    out.push_back(static_cast<std::uint8_t>(sizes[i]));
    out.push_back(static_cast<std::uint8_t>(sizes[i]));
    out.push_back(0);  // no palette
    out.push_back(0);
    Put16(out, 1);
    Put16(out, 32);
    Put32(out, static_cast<std::uint32_t>(images[i].size()));
    Put32(out, offset);
    offset += static_cast<std::uint32_t>(images[i].size());
  }
  for (const auto& image : images) out.insert(out.end(), image.begin(), image.end());
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::uint8_t> icon = IconFile();
  if (argc == 3 && std::string(argv[1]) == "--check") {
    std::ifstream in(argv[2], std::ios::binary);
    const std::vector<std::uint8_t> stored{std::istreambuf_iterator<char>(in), {}};
    if (stored == icon) return 0;
    std::fprintf(stderr, "%s differs from what engine_icon draws; regenerate it\n", argv[2]);
    return 1;
  }
  if (argc != 2) {
    std::fprintf(stderr, "usage: engine_icon OUT.ico | engine_icon --check FILE\n");
    return 2;
  }
  std::ofstream out(argv[1], std::ios::binary);
  out.write(reinterpret_cast<const char*>(icon.data()), static_cast<std::streamsize>(icon.size()));
  if (!out) {
    std::fprintf(stderr, "cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
