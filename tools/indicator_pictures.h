#pragma once
// Pictures of the settings dialog, drawn by code so that they can be made
// again: the two mode indicators (12 x 12, 24-bit) and the window's icon
// (32 x 32 with alpha).
#include <cstdint>
#include <string>
#include <vector>

namespace dialog_pictures {

struct Picture {
  int width = 0;
  int height = 0;
  int channels = 3;             // 3: RGB, 4: RGBA
  std::vector<uint8_t> pixels;  // rows top to bottom, channels in that order

  const uint8_t* At(int x, int y) const { return &pixels[(y * width + x) * channels]; }
};

// The indicator of a mode that is not chosen (false) or chosen (true).
Picture IndicatorPicture(bool selected);

Picture DialogIconPicture();

// A Windows bitmap file, 24 bits, bottom-up, as the resource compiler takes it.
std::vector<uint8_t> EncodeBmp24(const Picture& rgb);

// A one-image icon file: 32-bit colour with alpha plus the AND mask.
std::vector<uint8_t> EncodeIco32(const Picture& rgba);

// The main of an asset generator: `tool FOLDER` writes the files into FOLDER,
// `tool --check FOLDER` compares them with what is there. Returns the exit code.
struct AssetFile {
  std::string name;
  std::vector<uint8_t> bytes;
};
int WriteOrCheckAssets(const char* tool, int argc, char** argv,
                       const std::vector<AssetFile>& files);

}  // namespace dialog_pictures
