#include "skin/shadow_geometry.h"

namespace setup {

uint32_t ColorRefToArgb(uint32_t colour, int alpha) {
  const uint32_t red = colour & 0xFF;
  const uint32_t green = (colour >> 8) & 0xFF;
  const uint32_t blue = (colour >> 16) & 0xFF;
  return (blue + green * 256 + red * 65536) | (static_cast<uint32_t>(alpha) << 24);
}

ShadowRect ShadowRectFor(int left, int top, int width, int height) {
  return {left - kShadowSize, top - kShadowSize, width + 2 * kShadowSize, height + 2 * kShadowSize};
}

ShadowRing ShadowRingAt(int ring, int width, int height) {
  ShadowRing r;
  r.rect = {ring - 1, ring - 1, width - 2 * ring + 1, height - 2 * ring + 1};
  r.alpha = kShadowFirstAlpha + (ring - 1) * kShadowAlphaStep;
  return r;
}

uint32_t PremultipliedArgb(uint32_t argb) {
  const uint32_t a = argb >> 24;
  auto scale = [a](uint32_t c) { return (c * a + 127) / 255; };
  return (a << 24) | (scale((argb >> 16) & 0xFF) << 16) | (scale((argb >> 8) & 0xFF) << 8) |
         scale(argb & 0xFF);
}

void DrawShadowRingPixels(std::vector<uint32_t>& pixels, int width, int height, uint32_t colour) {
  if (width <= 0 || height <= 0 || pixels.size() < static_cast<size_t>(width) * height) return;
  auto put = [&](int x, int y, uint32_t value) {
    if (x >= 0 && x < width && y >= 0 && y < height)
      pixels[static_cast<size_t>(y) * width + x] = value;
  };
  for (int i = 1; i <= kShadowRingCount; ++i) {
    const ShadowRing ring = ShadowRingAt(i, width, height);
    if (ring.rect.width < 0 || ring.rect.height < 0) break;
    const uint32_t value = PremultipliedArgb(ColorRefToArgb(colour, ring.alpha));
    const int right = ring.rect.x + ring.rect.width;
    const int bottom = ring.rect.y + ring.rect.height;
    for (int x = ring.rect.x; x <= right; ++x) {
      put(x, ring.rect.y, value);
      put(x, bottom, value);
    }
    for (int y = ring.rect.y; y <= bottom; ++y) {
      put(ring.rect.x, y, value);
      put(right, y, value);
    }
  }
}

}  // namespace setup
