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

constexpr int side = streak::side;
constexpr double pi = 3.14159265358979323846;
constexpr std::uint64_t imageSeed = 0x5EED0F5EA1u;

// Small deterministic generator (SplitMix64), independent of the library's.
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}
  double uniform(double low, double high) {
    return low + (high - low) * (next() >> 11) * (1.0 / 9007199254740992.0);
  }

 private:
  std::uint64_t next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15u);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
    return z ^ (z >> 31);
  }
  std::uint64_t state_;
};

// Shortest signed distance between two coordinates on the 256-texel ring.
double wrapped(double d) { return d - side * std::round(d / side); }

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

  double yAt(double x) const {
    double y = baseline;
    for (const Wave& w : path)
      y += w.amplitude * std::sin(2 * pi * w.frequency * x / side + w.phase);
    return y;
  }
  double glowAt(double x) const {
    double g = 0.8;
    for (const Wave& w : glow)
      g += w.amplitude * std::sin(2 * pi * w.frequency * x / side + w.phase);
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
    for (int octave = 0; octave < octaves; ++octave) {
      std::vector<double>& lattice = lattices_[octave];
      const int cells = periodOf(octave);
      lattice.resize(static_cast<std::size_t>(cells * cells));
      for (double& value : lattice) value = random.uniform(0, 1);
    }
  }
  double at(double x, double y) const {
    double total = 0, weight = 0, amplitude = 1;
    for (int octave = 0; octave < octaves; ++octave) {
      total += amplitude * sample(octave, x, y);
      weight += amplitude;
      amplitude *= 0.5;
    }
    return total / weight;
  }

 private:
  static constexpr int octaves = 4;
  static int periodOf(int octave) { return 4 << octave; }
  double sample(int octave, double x, double y) const {
    const int cells = periodOf(octave);
    const double fx = x * cells / side, fy = y * cells / side;
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
  std::vector<double> lattices_[octaves];
};

constexpr int streakCount = 29;  // with crossings, 20 to 28 meet any vertical line
constexpr int eyeCount = 4;

std::vector<std::uint8_t> drawImage() {
  Random random(imageSeed);

  std::vector<Streak> streaks(streakCount);
  for (int k = 0; k < streakCount; ++k) {
    Streak& s = streaks[static_cast<std::size_t>(k)];
    s.baseline = (k + random.uniform(-0.35, 0.35)) * side / streakCount;
    const int frequencies[4] = {1, 2, 3, 5};
    const double amplitudes[4] = {7, 4, 2.2, 1.1};
    for (int m = 0; m < 4; ++m)
      s.path[m] = {frequencies[m], amplitudes[m] * random.uniform(0.3, 1.0),
                   random.uniform(0, 2 * pi)};
    s.glow[0] = {1 + static_cast<int>(random.uniform(0, 3)), random.uniform(0.1, 0.25),
                 random.uniform(0, 2 * pi)};
    s.glow[1] = {4 + static_cast<int>(random.uniform(0, 4)), random.uniform(0.03, 0.08),
                 random.uniform(0, 2 * pi)};
    s.width = random.uniform(0.8, 1.3);
    s.brightness = random.uniform(230, 320);
  }

  std::vector<Eye> eyes(eyeCount);
  // One eye per quarter of the image, so that no two overlap.
  for (int n = 0; n < eyeCount; ++n) {
    Eye& e = eyes[static_cast<std::size_t>(n)];
    e.x = (n % 2 + random.uniform(0.2, 0.8)) * side / 2;
    e.y = (n / 2 + random.uniform(0.2, 0.8)) * side / 2;
    e.a = random.uniform(10, 17);
    e.b = random.uniform(5, 8);
  }

  const Clouds clouds(random);

  std::vector<std::uint8_t> image(static_cast<std::size_t>(side * side));
  for (int y = 0; y < side; ++y) {
    for (int x = 0; x < side; ++x) {
      // Streaks bend around the eyes, as grain around a knot.
      double sampleY = y;
      double shade = 1, rim = 0;
      for (const Eye& e : eyes) {
        const double dx = wrapped(x - e.x), dy = wrapped(y - e.y);
        const double r = std::sqrt((dx / e.a) * (dx / e.a) + (dy / e.b) * (dy / e.b));
        const double reach = std::exp(-(dx / (1.6 * e.a)) * (dx / (1.6 * e.a)));
        if (r > 1) sampleY -= (dy > 0 ? 1 : -1) * e.b * 1.2 * reach * std::exp(-(r - 1) * 1.5);
        shade *= std::clamp((r - 0.75) / 0.3, 0.0, 1.0);
        const double rimDistance = (r - 1.05) * std::sqrt(e.a * e.b);
        rim += 230 * std::exp(-rimDistance * rimDistance / 1.8);
      }

      double light = 0;
      for (const Streak& s : streaks) {
        const double d = wrapped(sampleY - s.yAt(x)) / s.width;
        if (std::fabs(d) < 8)
          light += s.brightness * s.glowAt(x) * (std::exp(-d * d) + 0.25 * std::exp(-d * d / 6));
      }

      // Clouds cover about three quarters of the gaps; the rest stays black.
      const double cloud = std::pow(std::clamp((clouds.at(x, y) - 0.42) * 3, 0.0, 1.0), 0.8);
      double value = light + 125 * cloud;
      value = value * shade + rim;
      image[static_cast<std::size_t>(y * side + x)] =
          static_cast<std::uint8_t>(std::clamp(std::lround(value), 0L, 255L));
    }
  }
  return image;
}

std::string asPgm(const std::vector<std::uint8_t>& image) {
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
  const std::vector<std::uint8_t> image = drawImage();
  const std::string pgm = asPgm(image);
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
  const streak::Stats s = streak::measure(image.data());
  std::printf(
      "mean %.1f, below 32: %.1f%%, range %d..%d, streaks per column %d..%d, step inside %.2f, "
      "across the seams %.2f\n",
      s.mean, 100 * s.darkShare, s.minimum, s.maximum, s.fewestStreaks, s.mostStreaks,
      s.interiorStep, s.seamStep);
  return 0;
}
