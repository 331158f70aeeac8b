#include "skin/shadow_geometry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

namespace setup {
namespace {

TEST(ShadowColour, ColorRefBecomesArgbWithTheAlpha) {
  struct Case {
    uint32_t colour;
    int alpha;
    uint32_t argb;
  };
  const Case cases[] = {
      {0x808080, 5, 0x05808080},
      {0x00336699, 20, 0x14996633},  // red 0x99, green 0x66, blue 0x33
      {0xFF336699, 20, 0x14996633},  // the fourth byte is ignored
      {0x808080, 65, 0x41808080},
      {0x000000FF, 0, 0x00FF0000},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ColorRefToArgb(c.colour, c.alpha), c.argb) << std::hex << c.colour << " " << c.alpha;
}

TEST(ShadowGeometry, ShadowIsFivePixelsLargerOnEverySide) {
  EXPECT_EQ(ShadowRectFor(100, 80, 600, 430), (ShadowRect{95, 75, 610, 440}));
  EXPECT_EQ(ShadowRectFor(-20, 3, 1, 1), (ShadowRect{-25, -2, 11, 11}));
}

TEST(ShadowGeometry, RingTable) {
  // W x H = 610 x 440: ring i is inset i - 1 and (W - 2i + 1) x (H - 2i + 1).
  const ShadowRing expected[] = {
      {{0, 0, 609, 439}, 5},  {{1, 1, 607, 437}, 20}, {{2, 2, 605, 435}, 35},
      {{3, 3, 603, 433}, 50}, {{4, 4, 601, 431}, 65},
  };
  for (int i = 1; i <= kShadowRingCount; ++i) {
    const ShadowRing ring = ShadowRingAt(i, 610, 440);
    EXPECT_EQ(ring.rect, expected[i - 1].rect) << "ring " << i;
    EXPECT_EQ(ring.alpha, expected[i - 1].alpha) << "ring " << i;
  }
  // Ring 5 runs one pixel outside the 600 x 430 window, which covers columns
  // 5..604 and rows 5..434 of the shadow.
  const ShadowRing inner = ShadowRingAt(5, 610, 440);
  EXPECT_EQ(inner.rect.x + inner.rect.width, 605);
  EXPECT_EQ(inner.rect.y + inner.rect.height, 435);
}

TEST(ShadowGeometry, PremultipliesAsASourceOverDrawOnTransparentPixels) {
  EXPECT_EQ(PremultipliedArgb(0x41808080), 0x41212121u);
  EXPECT_EQ(PremultipliedArgb(0x05808080), 0x05030303u);
  EXPECT_EQ(PremultipliedArgb(0xFF123456), 0xFF123456u);
  EXPECT_EQ(PremultipliedArgb(0x00FFFFFF), 0x00000000u);
}

// Which ring a pixel of a W x H shadow belongs to (1 = outermost), 0 inside.
int RingOf(int x, int y, int w, int h) {
  const int inset = std::min(std::min(x, y), std::min(w - 1 - x, h - 1 - y));
  return inset < kShadowRingCount ? inset + 1 : 0;
}

TEST(ShadowGeometry, RingsTouchOnlyTheOuterFivePixelLines) {
  struct Case {
    int w, h;
    uint32_t colour;
  };
  const Case cases[] = {{610, 440, 0x808080}, {11, 11, 0x00336699}, {23, 14, 0x000000FF}};
  for (const Case& c : cases) {
    std::vector<uint32_t> pixels(static_cast<size_t>(c.w) * c.h, 0);
    DrawShadowRingPixels(pixels, c.w, c.h, c.colour);
    int wrong = 0;
    for (int y = 0; y < c.h; ++y)
      for (int x = 0; x < c.w; ++x) {
        const int ring = RingOf(x, y, c.w, c.h);
        const uint32_t expected =
            ring == 0 ? 0 : PremultipliedArgb(ColorRefToArgb(c.colour, 5 + 15 * (ring - 1)));
        if (pixels[static_cast<size_t>(y) * c.w + x] != expected && ++wrong <= 5)
          ADD_FAILURE() << c.w << "x" << c.h << " pixel (" << x << "," << y << ") ring " << ring
                        << std::hex << ": " << pixels[static_cast<size_t>(y) * c.w + x];
      }
    EXPECT_EQ(wrong, 0) << c.w << "x" << c.h;
  }
  // Alphas from outside in along the middle row of the worked example.
  std::vector<uint32_t> pixels(610 * 440, 0);
  DrawShadowRingPixels(pixels, 610, 440, 0x808080);
  std::vector<int> alphas;
  for (int x = 0; x < 7; ++x) alphas.push_back(static_cast<int>(pixels[220 * 610 + x] >> 24));
  EXPECT_EQ(alphas, (std::vector<int>{5, 20, 35, 50, 65, 0, 0}));
  EXPECT_EQ(pixels[4 * 610 + 4], 0x41212121u);
}

TEST(ShadowGeometry, BufferOfTheWrongSizeIsLeftAlone) {
  std::vector<uint32_t> pixels(10, 7);
  DrawShadowRingPixels(pixels, 11, 11, 0x808080);
  EXPECT_EQ(pixels, std::vector<uint32_t>(10, 7));
}

}  // namespace
}  // namespace setup
