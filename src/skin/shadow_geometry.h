// The drop shadow's geometry and colours, free of any window system: where the
// shadow window lies, which rings it carries with which opacity, and the
// pixels those rings leave on a fully transparent 32-bpp surface.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace setup {

// Pixels by which the shadow extends beyond the window on each side.
constexpr int kShadowSize = 5;
// One-pixel rings drawn from the shadow's outer edge inwards.
constexpr int kShadowRingCount = 5;
// Opacity (0-255) of the outermost ring, and what each ring inwards adds.
constexpr int kShadowFirstAlpha = 5;
constexpr int kShadowAlphaStep = 15;

// A GDI+ colour 0xAARRGGBB from a Windows COLORREF 0x00BBGGRR and an opacity;
// the COLORREF's fourth byte is ignored.
uint32_t ColorRefToArgb(uint32_t colour, int alpha);

struct ShadowRect {
  int x = 0, y = 0, width = 0, height = 0;
  bool operator==(const ShadowRect& o) const {
    return x == o.x && y == o.y && width == o.width && height == o.height;
  }
};

// The shadow window's rectangle for a window at (left, top) of width x height:
// kShadowSize larger on every side.
ShadowRect ShadowRectFor(int left, int top, int width, int height);

// Ring `ring` (1 = outermost .. kShadowRingCount) of a shadow of width x height:
// the rectangle handed to a one-pixel pen (a pen runs along columns x and
// x + width and rows y and y + height), and its opacity.
struct ShadowRing {
  ShadowRect rect;
  int alpha = 0;
};
ShadowRing ShadowRingAt(int ring, int width, int height);

// Premultiplied 0xAARRGGBB of an ARGB colour, as a source-over draw leaves it
// on a fully transparent pixel.
uint32_t PremultipliedArgb(uint32_t argb);

// Draws the rings of a shadow of `colour` (COLORREF) into `pixels`, width x
// height 32-bit pixels (row 0 at the top, 0xAARRGGBB, premultiplied), the way a
// one-pixel pen without anti-aliasing draws on a fully transparent surface:
// each pixel that a ring's outline crosses takes the ring's premultiplied
// colour. Pixels outside every ring are left as they are.
void DrawShadowRingPixels(std::vector<uint32_t>& pixels, int width, int height, uint32_t colour);

}  // namespace setup
