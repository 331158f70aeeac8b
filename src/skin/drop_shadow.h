// The soft drop shadow of the borderless wizard window: a click-through,
// per-pixel-alpha layered popup owned by the window, 5 pixels larger on every
// side, with five one-pixel rings of the shadow colour whose opacity rises
// towards the window's edge. All state lives in window properties:
//   "WndShadow"        on the window: its shadow window (0 when none could be made)
//   "WndShadow.Color"  on the shadow window: the colour, a COLORREF
//   "WndShadow.Proc"   on the window: its procedure before ShadowWindowProc
// Everything runs on the thread that owns the window.
#pragma once

#include <windows.h>

#include <cstdint>

namespace setup {

// Gives `window` a shadow of `colour` (COLORREF 0x00BBGGRR) and makes it follow
// the window's moves and size changes. Calling it again recolours and redraws
// the same shadow; the window is subclassed once. False only when `window` is
// not a window, and then nothing is changed.
bool AttachShadow(HWND window, COLORREF colour);

// The window's shadow window, created (class "SysShadow", else "Static") when
// there is none or the recorded one is gone; null when both creations fail.
HWND EnsureShadowWindow(HWND window);

// Places the shadow around the window's current rectangle and redraws it; a
// window of zero width or height leaves its shadow where it is.
void UpdateShadow(HWND window);

// Draws the shadow bitmap of width x height into the shadow window (0 for
// either: the shadow window's current size).
void RenderShadow(HWND window, int width, int height);

// Draws the five rings with GDI+ one-pixel pens, without anti-aliasing, into a
// DC whose selected bitmap is width x height, in the colour of `shadowWindow`.
void DrawShadowRings(HWND shadowWindow, HDC dc, int width, int height);

// The procedure installed on a shadowed window: WM_MOVE and WM_SIZE update the
// shadow before the previous procedure sees them.
LRESULT CALLBACK ShadowWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The off-screen surface a shadow is drawn on: a memory DC holding a width x
// height 32-bpp bottom-up DIB section that starts fully transparent. Both are
// released with the surface.
class ShadowSurface {
 public:
  ShadowSurface(HDC screenDc, int width, int height);
  ~ShadowSurface();
  ShadowSurface(const ShadowSurface&) = delete;
  ShadowSurface& operator=(const ShadowSurface&) = delete;

  bool ok() const { return dc_ && bitmap_; }
  HDC dc() const { return dc_; }
  // The pixels, 0xAARRGGBB, bottom row first.
  const uint32_t* bits() const { return bits_; }

 private:
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ previous_ = nullptr;
  const uint32_t* bits_ = nullptr;
};

}  // namespace setup
