// make_preview OUT.ppm [SEED FRAMES]   draws the preview's still picture (152 x 112),
//                                     by default the chosen frame
// make_preview --search       lists frames whose two veils are both magenta to pink
#include "tools/preview_still.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "--search") == 0) {
    for (std::uint32_t seed = 1; seed <= 40; ++seed) {
      for (int frames = 60; frames <= 3000; frames += 60) {
        float hue[2], sat[2];
        StillHues({seed, frames}, hue, sat);
        auto pinkish = [](float h) { return h > 0.84f && h < 0.97f; };
        if (pinkish(hue[0]) && pinkish(hue[1]) && (sat[0] < 0.8f || sat[1] < 0.8f)) {
          std::printf("seed %u frames %d: hues %.3f %.3f saturations %.2f %.2f\n", seed, frames,
                      hue[0], hue[1], sat[0], sat[1]);
        }
      }
    }
    return 0;
  }
  if (argc != 2 && argc != 4) {
    std::fprintf(stderr, "usage: make_preview OUT.ppm [SEED FRAMES] | --search\n");
    return 2;
  }
  StillFrame frame = kPreviewFrame;
  if (argc == 4) frame = {static_cast<std::uint32_t>(std::atoi(argv[2])), std::atoi(argv[3])};
  const StillImage image = DrawStill(frame, 152, 112, 4);
  std::FILE* out = std::fopen(argv[1], "wb");
  if (!out) {
    std::perror(argv[1]);
    return 1;
  }
  std::fprintf(out, "P6\n%d %d\n255\n", image.width, image.height);
  std::fwrite(image.rgb.data(), 1, image.rgb.size(), out);
  return std::fclose(out) == 0 ? 0 : 1;
}
