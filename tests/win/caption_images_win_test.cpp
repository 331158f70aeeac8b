// The caption images as the program loads them: through a memory stream into
// GDI+, which must decode them to the described pixels.
#include <gtest/gtest.h>

#include "caption_glyphs.h"
#include "skin/caption_images.h"
#include "skin/gdiplus_api.h"
#include "skin/png_loader.h"

namespace skintest {
namespace {

using Gdiplus::DllExports::GdipBitmapGetPixel;

TEST(CaptionImagesGdiplus, DecodeToTheDescribedPixels) {
  for (setup::CaptionImage which : glyphs::kAll) {
    SCOPED_TRACE(static_cast<int>(which));
    setup::ImageHandle image = setup::LoadImageFromBytes(setup::CaptionImageBytes(which));
    ASSERT_NE(image, nullptr);
    UINT w = 0, h = 0;
    Gdiplus::PixelFormat format = 0;
    Gdiplus::DllExports::GdipGetImageWidth(image, &w);
    Gdiplus::DllExports::GdipGetImageHeight(image, &h);
    Gdiplus::DllExports::GdipGetImagePixelFormat(image, &format);
    EXPECT_EQ(format, PixelFormat32bppARGB);
    ASSERT_EQ(static_cast<int>(w), glyphs::Width(which));
    ASSERT_EQ(static_cast<int>(h), glyphs::Height(which));
    const auto bad = glyphs::Mismatches(which, [&](int x, int y) {
      Gdiplus::ARGB argb = 0;
      GdipBitmapGetPixel(reinterpret_cast<Gdiplus::GpBitmap*>(image), x, y, &argb);
      return glyphs::Rgba{static_cast<int>(argb >> 16 & 0xFF), static_cast<int>(argb >> 8 & 0xFF),
                          static_cast<int>(argb & 0xFF), static_cast<int>(argb >> 24)};
    });
    for (const std::string& line : bad) ADD_FAILURE() << line;
    Gdiplus::DllExports::GdipDisposeImage(image);
  }
}

TEST(CaptionImagesGdiplus, UndecodableBytesGiveNoImage) {
  EXPECT_EQ(setup::LoadImageFromBytes({}), nullptr);
  EXPECT_EQ(setup::LoadImageFromBytes(setup::BytesFromText("not an image at all")), nullptr);
  setup::Bytes cut = setup::CaptionImageBytes(setup::CaptionImage::kCloseLight);
  cut.resize(40);
  EXPECT_EQ(setup::LoadImageFromBytes(cut), nullptr);
}

TEST(GlobalMemoryStream, ReopeningReplacesTheBlock) {
  setup::GlobalMemoryStream memory;
  ASSERT_NE(memory.Open(setup::BytesFromText("first")), nullptr);
  IStream* stream = memory.Open(setup::BytesFromText("second"));
  ASSERT_NE(stream, nullptr);
  EXPECT_EQ(memory.stream(), stream);
  char buffer[16] = {};
  ULONG read = 0;
  ASSERT_EQ(stream->Read(buffer, sizeof buffer, &read), S_OK);
  EXPECT_EQ(std::string(buffer, read), "second");
}

}  // namespace
}  // namespace skintest
