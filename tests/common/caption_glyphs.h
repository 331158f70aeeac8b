// What the caption-button images must hold, written out from their pixel
// description (not from the generator), for the decoders of both sides to be
// checked against.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "skin/caption_images.h"

namespace glyphs {

struct Rgba {
  int r = 0, g = 0, b = 0, a = 0;
};

struct Expect {
  Rgba lo, hi;  // each channel within [lo, hi]; a 0 alpha ignores the colour
};

inline Expect Exactly(int rgb, int a) {
  const Rgba c{(rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF, a};
  return {c, c};
}
inline Expect Between(int rgbLo, int rgbHi, int aLo, int aHi) {
  return {{(rgbLo >> 16) & 0xFF, (rgbLo >> 8) & 0xFF, rgbLo & 0xFF, aLo},
          {(rgbHi >> 16) & 0xFF, (rgbHi >> 8) & 0xFF, rgbHi & 0xFF, aHi}};
}
inline Expect Transparent() {
  return {{0, 0, 0, 0}, {255, 255, 255, 0}};
}

inline bool IsLight(setup::CaptionImage image) {
  return image == setup::CaptionImage::kCloseLight || image == setup::CaptionImage::kMinimiseLight;
}
inline bool IsClose(setup::CaptionImage image) {
  return image == setup::CaptionImage::kCloseLight || image == setup::CaptionImage::kCloseDark;
}

inline int Width(setup::CaptionImage image) {
  return IsClose(image) ? 11 : 12;
}
inline int Height(setup::CaptionImage image) {
  return IsClose(image) ? 11 : 13;
}

// The described pixel at (x, y), top row 0.
inline Expect Described(setup::CaptionImage image, int x, int y) {
  const bool light = IsLight(image);
  const int glyph = light ? 0xFFFFFF : 0x525252;
  if (IsClose(image)) {
    auto onDiagonal = [](int px, int py) {
      return px >= 0 && px <= 10 && (px == py || px == 10 - py);
    };
    if (x == 5 && y == 5) return Exactly(glyph, 255);
    if (onDiagonal(x, y)) return Exactly(glyph, 189);
    const bool touchesCentre = (x == 5 && (y == 4 || y == 6)) || (y == 5 && (x == 4 || x == 6));
    if (touchesCentre) return Exactly(light ? 0xDAEBE1 : 0x464C48, 153);
    if (onDiagonal(x - 1, y) || onDiagonal(x + 1, y))
      return light ? Between(0x9CD8B3, 0x9FD9B6, 90, 94) : Between(0x32453A, 0x33463B, 90, 94);
    return Transparent();
  }
  if (y == 6 && x >= 1 && x <= 10) return Exactly(glyph, 189);
  if (y == 6 && (x == 0 || x == 11)) return Exactly(light ? 0xE5F9ED : 0x4A504C, 163);
  return Transparent();
}

inline bool Matches(const Expect& e, const Rgba& p) {
  if (p.a < e.lo.a || p.a > e.hi.a) return false;
  if (p.a == 0) return true;
  return p.r >= e.lo.r && p.r <= e.hi.r && p.g >= e.lo.g && p.g <= e.hi.g && p.b >= e.lo.b &&
         p.b <= e.hi.b;
}

// Every pixel that differs from the description, as readable lines; empty when
// the image is exactly as described.
inline std::vector<std::string> Mismatches(setup::CaptionImage image,
                                           const std::function<Rgba(int, int)>& pixel) {
  std::vector<std::string> out;
  for (int y = 0; y < Height(image); ++y)
    for (int x = 0; x < Width(image); ++x) {
      const Rgba p = pixel(x, y);
      if (!Matches(Described(image, x, y), p)) {
        char line[80];
        std::snprintf(line, sizeof line, "(%d,%d): %02X%02X%02X alpha %d", x, y, p.r, p.g, p.b,
                      p.a);
        out.push_back(line);
      }
    }
  return out;
}

constexpr setup::CaptionImage kAll[] = {
    setup::CaptionImage::kCloseLight, setup::CaptionImage::kCloseDark,
    setup::CaptionImage::kMinimiseLight, setup::CaptionImage::kMinimiseDark};

}  // namespace glyphs
