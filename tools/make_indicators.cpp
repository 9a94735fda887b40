// Writes the settings dialog's pictures into the given folder (normally assets/),
// or with --check compares the files there with what the generator draws.
#include "tools/indicator_pictures.h"

int main(int argc, char** argv) {
  using namespace dialog_pictures;
  return WriteOrCheckAssets("make_indicators", argc, argv,
                            {{"indicator_off.bmp", EncodeBmp24(IndicatorPicture(false))},
                             {"indicator_on.bmp", EncodeBmp24(IndicatorPicture(true))},
                             {"dialog.ico", EncodeIco32(DialogIconPicture())}});
}
