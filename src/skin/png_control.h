// Image buttons: push buttons that draw one PNG image per state (normal, hover,
// pressed, disabled) over a copy of what lies beneath them, so that they look
// transparent over the window's content. The module subclasses the button and
// its parent and keeps every setting and the state in window properties of the
// control; nothing is ever detached:
//   "PngControl_Type"          3 on an image button, absent on other windows
//   "PngControl_WndProc"       on the control and its parent: the procedure before ours
//   "PngControl_NormalImage", "PngControl_OverlImage", "PngControl_DownImage",
//   "PngControl_DisableImage"  the GDI+ image of each state
//   "PngControl_BackType"      placement, see ImagePlacement
//   "PngControl_CacheBitmap"   the background copy taken at the last WM_PAINT
//   "Ember_DrawState"          the draw state, see DrawState
//   "PngControl_IsFoucs"       1 while the control has the keyboard focus
// Everything runs on the thread that owns the windows.
#pragma once

#include <windows.h>

#include <optional>

#include "skin/png_button_logic.h"

namespace Gdiplus {
class GpImage;
}

namespace setup {

using ImageHandle = Gdiplus::GpImage*;

// A handle object over the window it was last attached to. It owns nothing, so
// it may be discarded once the set-up calls are done.
class PngControl {
 public:
  // Makes `window` an image button, with `normal` as its normal image when one
  // is given. False when `window` is not a window; the object then refers to no
  // window, so that later calls change nothing.
  bool AttachButton(HWND window, std::optional<ImageHandle> normal = std::nullopt);
  // Stores each image that is given (a null image too); the others stay.
  void SetImages(std::optional<ImageHandle> normal, std::optional<ImageHandle> hover = std::nullopt,
                 std::optional<ImageHandle> pressed = std::nullopt,
                 std::optional<ImageHandle> disabled = std::nullopt);
  // Stores the placement (ImagePlacement).
  void SetBackType(int placement);

  HWND window() const { return window_; }

  // The first step of AttachButton: subclasses the parent (unless the parent is
  // itself an attached control), lets the parent paint beneath the control and
  // the control be painted after it, and remembers the window.
  bool Attach(HWND window);

 private:
  HWND window_ = nullptr;
};

// Installs `procedure` on the window unless it already has "PngControl_WndProc".
void SubclassOnce(HWND window, WNDPROC procedure);

// new = (old & ~clear) | set, written only when it differs; true when written.
bool ModifyStyle(HWND window, LONG clear, LONG set);
bool ModifyStyleEx(HWND window, LONG clear, LONG set);

// Invalidates the parent's area under the control, then the control, without
// erasing, so that the control's next WM_PAINT finds the parent's pixels.
void InvalidateAround(HWND window);

LRESULT CALLBACK PngParentProc(HWND parent, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK PngButtonProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam);

// WM_PAINT: takes the background copy from the paint DC and draws on it.
void PaintButton(HWND control);
// Replaces the control's cache bitmap with a copy of what `dc` holds.
void CacheBackground(HWND control, HDC dc);
// Draws the background copy and the state's image off-screen and copies the
// result to `dc` (null: the control's window DC) in one BitBlt. Draws nothing
// before the control's first WM_PAINT.
void RedrawButton(HWND control, HDC dc = nullptr);
// The state's image, else the normal image, else null.
ImageHandle ImageForState(HWND control, int state);
// Stores a state that differs and redraws; redraws an equal one when forced.
void SetDrawState(HWND control, int state, bool force);
// BM_SETSTATE: pressed for wParam 1, otherwise hover with the focus, else normal.
void OnSetState(HWND control, WPARAM wParam);

// The control's "Ember_DrawState" (0 when absent).
int DrawStateOf(HWND control);

}  // namespace setup
