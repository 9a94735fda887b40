// Writes the push button's state pictures into the given folder (normally assets/), or with
// --check compares the files there with what the generator draws.
#include "tools/button_pictures.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

int main(int argc, char** argv) {
  const bool check = argc == 3 && std::string(argv[1]) == "--check";
  if (argc != 2 && !check) {
    std::fprintf(stderr, "usage: make_buttons [--check] FOLDER\n");
    return 2;
  }
  const std::string folder = argv[argc - 1];
  int failures = 0;
  for (const auto& asset : button_pictures::Assets()) {
    const std::string path = folder + "/" + asset.fileName;
    const std::vector<uint8_t> bytes =
        dialog_pictures::EncodeBmp24(button_pictures::ButtonPicture(asset.look));
    if (check) {
      std::ifstream in(path, std::ios::binary);
      const std::vector<uint8_t> existing((std::istreambuf_iterator<char>(in)),
                                          std::istreambuf_iterator<char>());
      if (existing != bytes) {
        std::fprintf(stderr, "make_buttons: %s differs from the drawing\n", path.c_str());
        ++failures;
      }
      continue;
    }
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
      std::fprintf(stderr, "make_buttons: cannot write %s\n", path.c_str());
      ++failures;
    }
  }
  return failures == 0 ? 0 : 1;
}
