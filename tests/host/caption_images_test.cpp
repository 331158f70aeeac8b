// The caption-button images the program carries decode, with libpng, to
// exactly the pixels they are described to have.
#include "skin/caption_images.h"

#include <gtest/gtest.h>
#include <png.h>

#include "caption_glyphs.h"

namespace setup {
namespace {

struct Decoded {
  bool ok = false;
  int width = 0, height = 0;
  std::vector<uint8_t> rgba;
};

Decoded Decode(const Bytes& file) {
  Decoded d;
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, file.data(), file.size())) return d;
  image.format = PNG_FORMAT_RGBA;
  d.rgba.resize(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, d.rgba.data(), 0, nullptr)) {
    png_image_free(&image);
    return d;
  }
  d.ok = true;
  d.width = static_cast<int>(image.width);
  d.height = static_cast<int>(image.height);
  return d;
}

// IHDR: 8-bit samples, colour type 6 (RGBA), no interlacing.
void ExpectEightBitRgbaNotInterlaced(const Bytes& file) {
  ASSERT_GT(file.size(), 33u);
  EXPECT_EQ(Bytes(file.begin() + 12, file.begin() + 16), BytesFromText("IHDR"));
  EXPECT_EQ(file[24], 8) << "bit depth";
  EXPECT_EQ(file[25], 6) << "colour type";
  EXPECT_EQ(file[28], 0) << "interlace";
}

TEST(CaptionImages, DecodeToTheDescribedPixels) {
  for (CaptionImage which : glyphs::kAll) {
    const Bytes file = CaptionImageBytes(which);
    SCOPED_TRACE(static_cast<int>(which));
    ExpectEightBitRgbaNotInterlaced(file);
    const Decoded d = Decode(file);
    ASSERT_TRUE(d.ok);
    ASSERT_EQ(d.width, glyphs::Width(which));
    ASSERT_EQ(d.height, glyphs::Height(which));
    const auto bad = glyphs::Mismatches(which, [&](int x, int y) {
      const uint8_t* p = &d.rgba[(static_cast<size_t>(y) * d.width + x) * 4];
      return glyphs::Rgba{p[0], p[1], p[2], p[3]};
    });
    for (const std::string& line : bad) ADD_FAILURE() << line;
  }
}

}  // namespace
}  // namespace setup
