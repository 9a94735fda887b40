#include "tools/button_pictures.h"

#include "widgets/command_pictures.h"

namespace button_pictures {

using orvane::widgets::Picture;

const std::vector<Asset>& Assets() {
  static const std::vector<Asset> kAssets = {
      {Look::Normal, "button_normal.bmp"},   {Look::HighLight, "button_highlight.bmp"},
      {Look::Pressed, "button_pressed.bmp"}, {Look::Selected, "button_selected.bmp"},
      {Look::Disable, "button_disable.bmp"},
  };
  return kAssets;
}

// The committed files are the button's own drawing at the 96 dots per inch they were made for.
dialog_pictures::Picture ButtonPicture(Look look) {
  static constexpr Picture kPictures[] = {Picture::Normal, Picture::HighLight, Picture::Pressed,
                                          Picture::Selected, Picture::Disable};
  const orvane::common::RgbPicture drawn =
      orvane::widgets::DrawCommandPicture(kPictures[static_cast<int>(look)], 96);
  dialog_pictures::Picture picture;
  picture.width = drawn.width;
  picture.height = drawn.height;
  picture.channels = 3;
  picture.pixels = drawn.pixels;
  return picture;
}

}  // namespace button_pictures
