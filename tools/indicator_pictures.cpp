#include "tools/indicator_pictures.h"

#include "dialog/indicator_drawing.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>

namespace dialog_pictures {
namespace {

struct Rgb {
  double r, g, b;
};

uint8_t Channel(double v) { return static_cast<uint8_t>(std::lround(std::clamp(v, 0.0, 255.0))); }

Rgb Mix(Rgb a, Rgb b, double t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

void Put(Picture& p, int x, int y, Rgb c, double alpha = 255) {
  uint8_t* px = &p.pixels[(y * p.width + x) * p.channels];
  px[0] = Channel(c.r);
  px[1] = Channel(c.g);
  px[2] = Channel(c.b);
  if (p.channels == 4) px[3] = Channel(alpha);
}

void Write16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

void Write32(std::vector<uint8_t>& out, uint32_t v) {
  Write16(out, v & 0xFFFF);
  Write16(out, v >> 16);
}

void WriteInfoHeader(std::vector<uint8_t>& out, int width, int height, int bits,
                     uint32_t imageSize) {
  Write32(out, 40);
  Write32(out, static_cast<uint32_t>(width));
  Write32(out, static_cast<uint32_t>(height));
  Write16(out, 1);
  Write16(out, static_cast<uint32_t>(bits));
  Write32(out, 0);  // BI_RGB
  Write32(out, imageSize);
  Write32(out, 3780);  // 96 dpi in pixels per metre
  Write32(out, 3780);
  Write32(out, 0);
  Write32(out, 0);
}

}  // namespace

// The committed files are the dialog's own drawing at the 96 dots per inch they were made for.
Picture IndicatorPicture(bool selected) {
  const orvane::common::RgbPicture drawn = orvane::dialog::DrawModeIndicator(selected, 96);
  return {drawn.width, drawn.height, 3, drawn.pixels};
}

// Two soft bands of light crossing a dark rounded square, as the show draws them.
Picture DialogIconPicture() {
  constexpr int kSize = 32;
  constexpr int kSamples = 4;  // per axis, for smooth edges
  constexpr double kRadius = 6.0;
  Picture p{kSize, kSize, 4, std::vector<uint8_t>(kSize * kSize * 4)};
  for (int y = 0; y < kSize; ++y) {
    for (int x = 0; x < kSize; ++x) {
      double coverage = 0;
      for (int sy = 0; sy < kSamples; ++sy) {
        for (int sx = 0; sx < kSamples; ++sx) {
          const double px = x + (sx + 0.5) / kSamples;
          const double py = y + (sy + 0.5) / kSamples;
          const double dx = std::max({kRadius - px, px - (kSize - kRadius), 0.0});
          const double dy = std::max({kRadius - py, py - (kSize - kRadius), 0.0});
          if (dx * dx + dy * dy <= kRadius * kRadius) coverage += 1.0 / (kSamples * kSamples);
        }
      }
      const double cx = x + 0.5;
      const double cy = y + 0.5;
      const double band1 = std::exp(-std::pow((cy - (12 + 4 * std::sin(cx * 0.28))) / 3.2, 2));
      const double band2 =
          std::exp(-std::pow((cy - (20 + 4 * std::sin(cx * 0.22 + 2.0))) / 3.2, 2));
      const Rgb base = Mix({4, 6, 40}, {0, 0, 12}, cy / kSize);
      const Rgb c{base.r + 70 * band1 + 210 * band2, base.g + 160 * band1 + 90 * band2,
                  base.b + 255 * band1 + 230 * band2};
      Put(p, x, y, c, 255 * coverage);
    }
  }
  return p;
}

std::vector<uint8_t> EncodeBmp24(const Picture& rgb) {
  const int stride = (rgb.width * 3 + 3) / 4 * 4;
  const uint32_t imageSize = static_cast<uint32_t>(stride * rgb.height);
  std::vector<uint8_t> out{'B', 'M'};
  Write32(out, 14 + 40 + imageSize);
  Write32(out, 0);
  Write32(out, 14 + 40);
  WriteInfoHeader(out, rgb.width, rgb.height, 24, imageSize);
  for (int y = rgb.height - 1; y >= 0; --y) {
    for (int x = 0; x < rgb.width; ++x) {
      const uint8_t* px = rgb.At(x, y);
      out.insert(out.end(), {px[2], px[1], px[0]});
    }
    out.resize(out.size() + (stride - rgb.width * 3), 0);
  }
  return out;
}

std::vector<uint8_t> EncodeIco32(const Picture& rgba) {
  const int maskStride = (rgba.width + 31) / 32 * 4;
  const uint32_t colourSize = static_cast<uint32_t>(rgba.width * rgba.height * 4);
  const uint32_t maskSize = static_cast<uint32_t>(maskStride * rgba.height);
  const uint32_t imageSize = 40 + colourSize + maskSize;
  std::vector<uint8_t> out;
  Write16(out, 0);
  Write16(out, 1);  // icon
  Write16(out, 1);  // one image
  out.push_back(static_cast<uint8_t>(rgba.width));
  out.push_back(static_cast<uint8_t>(rgba.height));
  out.push_back(0);  // no palette
  out.push_back(0);
  Write16(out, 1);   // planes
  Write16(out, 32);  // bits
  Write32(out, imageSize);
  Write32(out, 6 + 16);
  // An icon's header counts the colour image and the mask together.
  WriteInfoHeader(out, rgba.width, rgba.height * 2, 32, colourSize + maskSize);
  for (int y = rgba.height - 1; y >= 0; --y) {
    for (int x = 0; x < rgba.width; ++x) {
      const uint8_t* px = rgba.At(x, y);
      out.insert(out.end(), {px[2], px[1], px[0], px[3]});
    }
  }
  for (int y = rgba.height - 1; y >= 0; --y) {
    std::vector<uint8_t> row(maskStride, 0);
    for (int x = 0; x < rgba.width; ++x) {
      if (rgba.At(x, y)[3] == 0) row[x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
    }
    out.insert(out.end(), row.begin(), row.end());
  }
  return out;
}

int WriteOrCheckAssets(const char* tool, int argc, char** argv,
                       const std::vector<AssetFile>& files) {
  const bool check = argc == 3 && std::string(argv[1]) == "--check";
  if (argc != 2 && !check) {
    std::fprintf(stderr, "usage: %s [--check] FOLDER\n", tool);
    return 2;
  }
  int failures = 0;
  for (const AssetFile& file : files) {
    const std::string path = std::string(argv[argc - 1]) + "/" + file.name;
    if (check) {
      std::ifstream in(path, std::ios::binary);
      if (std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {}) == file.bytes) continue;
      std::fprintf(stderr, "%s: %s differs from the drawing\n", tool, path.c_str());
    } else {
      std::ofstream out(path, std::ios::binary);
      out.write(reinterpret_cast<const char*>(file.bytes.data()),
                static_cast<std::streamsize>(file.bytes.size()));
      out.close();
      if (out) continue;
      std::fprintf(stderr, "%s: cannot write %s\n", tool, path.c_str());
    }
    ++failures;
  }
  return failures == 0 ? 0 : 1;
}

}  // namespace dialog_pictures
