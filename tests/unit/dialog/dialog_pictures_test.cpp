// The committed files are compared with the generator by dialog_pictures_current.
#include "dialog/indicator_drawing.h"
#include "tools/indicator_pictures.h"

#include <gtest/gtest.h>

#include <vector>

namespace dialog_pictures {
namespace {

int Sum(const uint8_t* px) { return px[0] + px[1] + px[2]; }

TEST(DialogPictures, IndicatorLooks) {
  for (bool selected : {false, true}) {
    const Picture p = IndicatorPicture(selected);
    ASSERT_EQ(p.width, 12);
    ASSERT_EQ(p.height, 12);
    for (int i = 0; i < 12; ++i) {  // dark frame all round
      for (const uint8_t* px : {p.At(i, 0), p.At(i, 11), p.At(0, i), p.At(11, i)})
        EXPECT_LT(Sum(px), 120);
    }
    // Shading runs light to dark (selected) or grey to white (not selected).
    EXPECT_EQ(Sum(p.At(2, 2)) > Sum(p.At(9, 9)), selected);
  }
  const Picture on = IndicatorPicture(true);
  EXPECT_GT(on.At(5, 5)[2], on.At(5, 5)[0] + 40) << "blue centre";
  EXPECT_GT(Sum(on.At(1, 5)), 600) << "light grey ring";
}

TEST(DialogPictures, FilesDecodeAsTheirFormats) {
  const std::vector<uint8_t> bmp = EncodeBmp24(IndicatorPicture(true));
  ASSERT_EQ(bmp.size(), 14u + 40u + 12u * 36u);
  EXPECT_EQ(bmp[0], 'B');
  EXPECT_EQ(bmp[28], 24);  // bits per pixel
  // Bottom-up: the first stored pixel is the bottom-left one, in B, G, R order.
  const Picture on = IndicatorPicture(true);
  EXPECT_EQ(bmp[54], on.At(0, 11)[2]);

  const std::vector<uint8_t> ico = EncodeIco32(DialogIconPicture());
  ASSERT_EQ(ico.size(), 6u + 16u + 40u + 32u * 32u * 4u + 32u * 4u);
  EXPECT_EQ(ico[2], 1);   // icon
  EXPECT_EQ(ico[6], 32);  // width
  EXPECT_EQ(ico[22 + 8], 64) << "height counts colour image and mask";
  const Picture icon = DialogIconPicture();
  EXPECT_EQ(icon.At(0, 0)[3], 0) << "rounded corner is transparent";
  EXPECT_EQ(icon.At(16, 16)[3], 255);
}

TEST(DialogPictures, IndicatorsAtOtherDensitiesAreDrawnAtTheirSize) {
  struct Case {
    int dpi, size, band;
  } cases[] = {{96, 12, 1}, {120, 15, 1}, {144, 18, 2}, {192, 24, 2}, {288, 36, 3}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dpi);
    const auto chosen = orvane::dialog::DrawModeIndicator(true, c.dpi);
    ASSERT_EQ(chosen.width, c.size);
    ASSERT_EQ(chosen.height, c.size);
    // Frame and ring each `band` whole pixels, then the blue square: no soft edge between.
    const int mid = c.size / 2;
    for (int x = 0; x < c.band; ++x) EXPECT_LT(Sum(chosen.At(x, mid)), 120) << x;
    for (int x = c.band; x < 2 * c.band; ++x) EXPECT_EQ(Sum(chosen.At(x, mid)), 3 * 214) << x;
    const uint8_t* blue = chosen.At(2 * c.band, mid);
    EXPECT_GT(blue[2], blue[0] + 60);
    // The 96 drawing is the committed picture.
    if (c.dpi == 96) {
      EXPECT_EQ(chosen.pixels, IndicatorPicture(true).pixels);
    }
  }
}

}  // namespace
}  // namespace dialog_pictures
