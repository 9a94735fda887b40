// Draws the engine's streak texture: thin bright wavy streaks running mostly
// across, a few dark eyes with bright rims, soft grey clouds between. Every
// feature is periodic over 256 texels, so copies of the image tile without seams.
//
//   streak_image OUT.pgm            writes the image (binary PGM)
//   streak_image --check FILE.pgm   exits 1 unless FILE holds exactly this image
#include "tools/streak_stats.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

constexpr int kSide = streak::kSide;
constexpr double kPi = 3.14159265358979323846;
constexpr std::uint64_t kImageSeed = 0x5EED0F5EA1u;

// Small deterministic generator (SplitMix64), independent of the library's.
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}
  double Uniform(double low, double high) {
    return low + (high - low) * (Next() >> 11) * (1.0 / 9007199254740992.0);
  }

 private:
  std::uint64_t Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15u);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
    return z ^ (z >> 31);
  }
  std::uint64_t state_;
};

// Shortest signed distance between two coordinates on the 256-texel ring.
double Wrapped(double d) { return d - kSide * std::round(d / kSide); }

struct Wave {
  int frequency;  // whole turns over the width, so the path closes on itself
  double amplitude;
  double phase;
};

struct Streak {
  double baseline;
  Wave path[4];
  Wave glow[2];  // brightness along the streak
  double width;
  double brightness;

  double YAt(double x) const {
    double y = baseline;
    for (const Wave& w : path)
      y += w.amplitude * std::sin(2 * kPi * w.frequency * x / kSide + w.phase);
    return y;
  }
  double GlowAt(double x) const {
    double g = 0.8;
    for (const Wave& w : glow)
      g += w.amplitude * std::sin(2 * kPi * w.frequency * x / kSide + w.phase);
    return std::clamp(g, 0.0, 1.0);
  }
};

struct Eye {
  double x, y;  // centre
  double a, b;  // half axes, across and up
};

// Tileable value noise: a random lattice of the given period, smoothly interpolated.
class Clouds {
 public:
  explicit Clouds(Random& random) {
    for (int octave = 0; octave < kOctaves; ++octave) {
      std::vector<double>& lattice = lattices_[octave];
      const int cells = PeriodOf(octave);
      lattice.resize(static_cast<std::size_t>(cells * cells));
      for (double& value : lattice) value = random.Uniform(0, 1);
    }
  }
  double At(double x, double y) const {
    double total = 0, weight = 0, amplitude = 1;
    for (int octave = 0; octave < kOctaves; ++octave) {
      total += amplitude * Sample(octave, x, y);
      weight += amplitude;
      amplitude *= 0.5;
    }
    return total / weight;
  }

 private:
  static constexpr int kOctaves = 4;
  static int PeriodOf(int octave) { return 4 << octave; }
  double Sample(int octave, double x, double y) const {
    const int cells = PeriodOf(octave);
    const double fx = x * cells / kSide, fy = y * cells / kSide;
    const int x0 = static_cast<int>(std::floor(fx)), y0 = static_cast<int>(std::floor(fy));
    auto smooth = [](double t) { return t * t * (3 - 2 * t); };
    const double tx = smooth(fx - x0), ty = smooth(fy - y0);
    auto cell = [&](int cx, int cy) {
      cx = ((cx % cells) + cells) % cells;
      cy = ((cy % cells) + cells) % cells;
      return lattices_[octave][static_cast<std::size_t>(cy * cells + cx)];
    };
    const double top = cell(x0, y0) + (cell(x0 + 1, y0) - cell(x0, y0)) * tx;
    const double bottom = cell(x0, y0 + 1) + (cell(x0 + 1, y0 + 1) - cell(x0, y0 + 1)) * tx;
    return top + (bottom - top) * ty;
  }
  std::vector<double> lattices_[kOctaves];
};

constexpr int kStreakCount = 29;  // with crossings, 20 to 28 meet any vertical line
constexpr int kEyeCount = 4;

std::vector<std::uint8_t> DrawImage() {
  Random random(kImageSeed);

  std::vector<Streak> streaks(kStreakCount);
  for (int k = 0; k < kStreakCount; ++k) {
    Streak& s = streaks[static_cast<std::size_t>(k)];
    s.baseline = (k + random.Uniform(-0.35, 0.35)) * kSide / kStreakCount;
    const int frequencies[4] = {1, 2, 3, 5};
    const double amplitudes[4] = {7, 4, 2.2, 1.1};
    for (int m = 0; m < 4; ++m)
      s.path[m] = {frequencies[m], amplitudes[m] * random.Uniform(0.3, 1.0),
                   random.Uniform(0, 2 * kPi)};
    s.glow[0] = {1 + static_cast<int>(random.Uniform(0, 3)), random.Uniform(0.1, 0.25),
                 random.Uniform(0, 2 * kPi)};
    s.glow[1] = {4 + static_cast<int>(random.Uniform(0, 4)), random.Uniform(0.03, 0.08),
                 random.Uniform(0, 2 * kPi)};
    s.width = random.Uniform(0.8, 1.3);
    s.brightness = random.Uniform(230, 320);
  }

  std::vector<Eye> eyes(kEyeCount);
  // One eye per quarter of the image, so that no two overlap.
  for (int n = 0; n < kEyeCount; ++n) {
    Eye& e = eyes[static_cast<std::size_t>(n)];
    e.x = (n % 2 + random.Uniform(0.2, 0.8)) * kSide / 2;
    e.y = (n / 2 + random.Uniform(0.2, 0.8)) * kSide / 2;
    e.a = random.Uniform(10, 17);
    e.b = random.Uniform(5, 8);
  }

  const Clouds clouds(random);

  std::vector<std::uint8_t> image(static_cast<std::size_t>(kSide * kSide));
  for (int y = 0; y < kSide; ++y) {
    for (int x = 0; x < kSide; ++x) {
      // Streaks bend around the eyes, as grain around a knot.
      double sampleY = y;
      double shade = 1, rim = 0;
      for (const Eye& e : eyes) {
        const double dx = Wrapped(x - e.x), dy = Wrapped(y - e.y);
        const double r = std::sqrt((dx / e.a) * (dx / e.a) + (dy / e.b) * (dy / e.b));
        const double reach = std::exp(-(dx / (1.6 * e.a)) * (dx / (1.6 * e.a)));
        if (r > 1) sampleY -= (dy > 0 ? 1 : -1) * e.b * 1.2 * reach * std::exp(-(r - 1) * 1.5);
        shade *= std::clamp((r - 0.75) / 0.3, 0.0, 1.0);
        const double rimDistance = (r - 1.05) * std::sqrt(e.a * e.b);
        rim += 230 * std::exp(-rimDistance * rimDistance / 1.8);
      }

      double light = 0;
      for (const Streak& s : streaks) {
        const double d = Wrapped(sampleY - s.YAt(x)) / s.width;
        if (std::fabs(d) < 8)
          light += s.brightness * s.GlowAt(x) * (std::exp(-d * d) + 0.25 * std::exp(-d * d / 6));
      }

      // Clouds cover about three quarters of the gaps; the rest stays black.
      const double cloud = std::pow(std::clamp((clouds.At(x, y) - 0.42) * 3, 0.0, 1.0), 0.8);
      double value = light + 125 * cloud;
      value = value * shade + rim;
      image[static_cast<std::size_t>(y * kSide + x)] =
          static_cast<std::uint8_t>(std::clamp(std::lround(value), 0L, 255L));
    }
  }
  return image;
}

std::string AsPgm(const std::vector<std::uint8_t>& image) {
  std::string out = "P5\n256 256\n255\n";
  out.append(image.begin(), image.end());
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  const bool check = argc == 3 && std::string(argv[1]) == "--check";
  if (argc != 2 && !check) {
    std::fprintf(stderr, "usage: streak_image OUT.pgm | --check FILE.pgm\n");
    return 2;
  }
  const std::vector<std::uint8_t> image = DrawImage();
  const std::string pgm = AsPgm(image);
  const char* path = argv[argc - 1];
  if (check) {
    std::ifstream in(path, std::ios::binary);
    const std::string existing((std::istreambuf_iterator<char>(in)),
                               std::istreambuf_iterator<char>());
    if (existing != pgm) {
      std::fprintf(stderr,
                   "%s is not what the generator draws; rebuild the target streak_image_asset\n",
                   path);
      return 1;
    }
    return 0;
  }
  std::ofstream out(path, std::ios::binary);
  out << pgm;
  if (!out.flush()) {
    std::fprintf(stderr, "cannot write %s\n", path);
    return 1;
  }
  const streak::Stats s = streak::Measure(image.data());
  std::printf(
      "mean %.1f, below 32: %.1f%%, range %d..%d, streaks per column %d..%d, step inside %.2f, "
      "across the seams %.2f\n",
      s.mean, 100 * s.darkShare, s.minimum, s.maximum, s.fewestStreaks, s.mostStreaks,
      s.interiorStep, s.seamStep);
  return 0;
}
