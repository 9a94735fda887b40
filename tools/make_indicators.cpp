// Writes the settings dialog's pictures into the given folder (normally assets/):
// indicator_off.bmp, indicator_on.bmp and dialog.ico.
#include <cstdio>
#include <fstream>
#include <string>

#include "tools/indicator_pictures.h"

namespace {

bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) std::fprintf(stderr, "make_indicators: cannot write %s\n", path.c_str());
  return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_indicators OUTPUT_FOLDER\n");
    return 2;
  }
  using namespace dialog_pictures;
  const std::string folder = argv[1];
  const bool ok = WriteFile(folder + "/indicator_off.bmp", EncodeBmp24(IndicatorPicture(false))) &&
                  WriteFile(folder + "/indicator_on.bmp", EncodeBmp24(IndicatorPicture(true))) &&
                  WriteFile(folder + "/dialog.ico", EncodeIco32(DialogIconPicture()));
  return ok ? 0 : 1;
}
