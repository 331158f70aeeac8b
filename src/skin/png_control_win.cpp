#include <windows.h>
#include <commctrl.h>

#include <optional>

#include "skin/gdiplus_api.h"
#include "skin/png_control.h"
#include "skin/scoped_gdi.h"

namespace setup {

namespace {

const char kTypeProp[] = "PngControl_Type";
const char kWndProcProp[] = "PngControl_WndProc";
const char kNormalImageProp[] = "PngControl_NormalImage";
const char kHoverImageProp[] = "PngControl_OverlImage";
const char kPressedImageProp[] = "PngControl_DownImage";
const char kDisabledImageProp[] = "PngControl_DisableImage";
const char kBackTypeProp[] = "PngControl_BackType";
const char kCacheBitmapProp[] = "PngControl_CacheBitmap";
const char kDrawStateProp[] = "Ember_DrawState";
const char kFocusProp[] = "PngControl_IsFoucs";

// The kind of control PngControl_Type names for an image button.
constexpr uintptr_t kImageButtonType = 3;

uintptr_t PropValue(HWND window, const char* name) {
  return reinterpret_cast<uintptr_t>(GetPropA(window, name));
}

void SetPropValue(HWND window, const char* name, uintptr_t value) {
  SetPropA(window, name, reinterpret_cast<HANDLE>(value));
}

LRESULT PassOn(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const WNDPROC previous = reinterpret_cast<WNDPROC>(GetPropA(window, kWndProcProp));
  if (previous) return CallWindowProcA(previous, window, message, wParam, lParam);
  return DefWindowProcA(window, message, wParam, lParam);
}

SIZE WindowSize(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return SIZE{r.right - r.left, r.bottom - r.top};
}

// Carries out what an event does to the control's draw state.
void ApplyEvent(HWND control, ButtonEvent event) {
  const DrawTransition t =
      TransitionFor(DrawStateOf(control), event, PropValue(control, kFocusProp) != 0);
  if (t.track) {
    TRACKMOUSEEVENT tme{sizeof(TRACKMOUSEEVENT), TME_LEAVE, control, 0};
    TrackMouseEvent(&tme);
  }
  if (t.set) SetDrawState(control, t.state, t.force);
  if (t.redraw) RedrawButton(control, nullptr);
}

}  // namespace

bool PngControl::Attach(HWND window) {
  if (!IsWindow(window)) {
    window_ = nullptr;
    return false;
  }
  HWND parent = GetParent(window);
  // A control inside another attached control keeps that control's procedure.
  if (parent && PropValue(parent, kTypeProp) == 0) SubclassOnce(parent, PngParentProc);
  ModifyStyle(window, WS_CLIPSIBLINGS, 0);
  ModifyStyleEx(window, 0, WS_EX_TRANSPARENT);
  if (parent) ModifyStyle(parent, WS_CLIPCHILDREN, 0);
  window_ = window;
  return true;
}

bool PngControl::AttachButton(HWND window, std::optional<ImageHandle> normal) {
  if (!Attach(window)) return false;
  SetPropValue(window, kTypeProp, kImageButtonType);
  if (normal) SetPropA(window, kNormalImageProp, *normal);
  ModifyStyle(window, 0, BS_OWNERDRAW);
  SubclassOnce(window, PngButtonProc);
  InvalidateAround(window);
  return true;
}

void PngControl::SetImages(std::optional<ImageHandle> normal, std::optional<ImageHandle> hover,
                           std::optional<ImageHandle> pressed,
                           std::optional<ImageHandle> disabled) {
  if (!window_) return;
  if (normal) SetPropA(window_, kNormalImageProp, *normal);
  if (hover) SetPropA(window_, kHoverImageProp, *hover);
  if (pressed) SetPropA(window_, kPressedImageProp, *pressed);
  if (disabled) SetPropA(window_, kDisabledImageProp, *disabled);
}

void PngControl::SetBackType(int placement) {
  if (window_) SetPropValue(window_, kBackTypeProp, static_cast<uintptr_t>(placement));
}

void SubclassOnce(HWND window, WNDPROC procedure) {
  if (PropValue(window, kWndProcProp) != 0) return;
  const LONG previous = SetWindowLongA(window, GWL_WNDPROC, reinterpret_cast<LONG>(procedure));
  SetPropValue(window, kWndProcProp, static_cast<uintptr_t>(previous));
}

namespace {
bool ModifyLong(HWND window, int index, LONG clear, LONG set) {
  const LONG old = GetWindowLongA(window, index);
  const LONG updated = (old & ~clear) | set;
  if (updated == old) return false;
  SetWindowLongA(window, index, updated);
  return true;
}
}  // namespace

bool ModifyStyle(HWND window, LONG clear, LONG set) {
  return ModifyLong(window, GWL_STYLE, clear, set);
}

bool ModifyStyleEx(HWND window, LONG clear, LONG set) {
  return ModifyLong(window, GWL_EXSTYLE, clear, set);
}

void InvalidateAround(HWND window) {
  if (HWND parent = GetParent(window)) {
    RECT r{};
    GetWindowRect(window, &r);
    POINT corners[2] = {{r.left, r.top}, {r.right, r.bottom}};
    ScreenToClient(parent, &corners[0]);
    ScreenToClient(parent, &corners[1]);
    RECT area{corners[0].x, corners[0].y, corners[1].x, corners[1].y};
    InvalidateRect(parent, &area, FALSE);
  }
  InvalidateRect(window, nullptr, FALSE);
}

LRESULT CALLBACK PngParentProc(HWND parent, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NOTIFY: {
      const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
      if (header && PropValue(header->hwndFrom, kTypeProp) == kImageButtonType &&
          header->code == NM_CUSTOMDRAW)
        RedrawButton(header->hwndFrom, nullptr);
      break;
    }
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSTATIC:
      // Attached controls draw their own background: the parent's shows through.
      if (PropValue(reinterpret_cast<HWND>(lParam), kTypeProp) != 0) {
        SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
        return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
      }
      break;
    default:
      break;
  }
  return PassOn(parent, message, wParam, lParam);
}

LRESULT CALLBACK PngButtonProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      PaintButton(control);
      return 0;
    case WM_NCPAINT:
      return 0;  // no frame
    case WM_ERASEBKGND:
      return 1;  // the cached background is the erase
    case WM_SETFOCUS:
      // Not passed on: the system button would draw its own focus state.
      SetPropValue(control, kFocusProp, 1);
      ApplyEvent(control, ButtonEvent::kFocusGained);
      return 0;
    case WM_KILLFOCUS:
      SetPropValue(control, kFocusProp, 0);
      ApplyEvent(control, ButtonEvent::kFocusLost);
      return 0;
    default:
      break;
  }
  const LRESULT result = PassOn(control, message, wParam, lParam);
  switch (message) {
    case WM_MOUSEMOVE:
      ApplyEvent(control, ButtonEvent::kMouseMove);
      break;
    case WM_MOUSELEAVE:
      ApplyEvent(control, ButtonEvent::kMouseLeave);
      break;
    case WM_ENABLE:
      ApplyEvent(control, wParam ? ButtonEvent::kEnabled : ButtonEvent::kDisabled);
      break;
    case BM_SETSTATE:
      OnSetState(control, wParam);
      break;
    case WM_LBUTTONDOWN:
      ApplyEvent(control, ButtonEvent::kLeftDown);
      break;
    case WM_LBUTTONUP:
      ApplyEvent(control, ButtonEvent::kLeftUp);
      break;
    default:
      break;
  }
  return result;
}

void PaintButton(HWND control) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(control, &ps);
  if (dc) {
    CacheBackground(control, dc);
    RedrawButton(control, dc);
  }
  EndPaint(control, &ps);
}

void CacheBackground(HWND control, HDC dc) {
  const SIZE size = WindowSize(control);
  if (HGDIOBJ old = GetPropA(control, kCacheBitmapProp)) DeleteObject(old);
  MemoryDc memory(dc);
  GdiObject bitmap(memory.get() ? CreateCompatibleBitmap(dc, size.cx, size.cy) : nullptr);
  if (bitmap.get()) {
    Selection selected(memory.get(), bitmap.get());
    BitBlt(memory.get(), 0, 0, size.cx, size.cy, dc, 0, 0, SRCCOPY);
  }
  SetPropA(control, kCacheBitmapProp, bitmap.release());
}

void RedrawButton(HWND control, HDC dc) {
  HBITMAP cache = static_cast<HBITMAP>(GetPropA(control, kCacheBitmapProp));
  if (!cache) return;  // nothing to draw on before the first WM_PAINT
  const SIZE size = WindowSize(control);
  std::optional<WindowDc> own;
  HDC target = dc;
  if (!target) {
    own.emplace(control, true);
    target = own->get();
  }
  if (!target) return;
  MemoryDc memory(target);
  GdiObject bitmap(memory.get() ? CreateCompatibleBitmap(target, size.cx, size.cy) : nullptr);
  if (!bitmap.get()) return;
  Selection selected(memory.get(), bitmap.get());
  {
    ScopedGraphics graphics(memory.get());
    if (graphics.get()) {
      {
        BitmapFromGdi background(cache);
        if (background.get())
          Gdiplus::DllExports::GdipDrawImageRect(graphics.get(), background.get(), 0, 0,
                                                 static_cast<float>(size.cx),
                                                 static_cast<float>(size.cy));
      }
      if (ImageHandle image = ImageForState(control, DrawStateOf(control))) {
        Gdiplus::REAL iw = 0, ih = 0;
        Gdiplus::DllExports::GdipGetImageDimension(image, &iw, &ih);
        const ImageRect place = PlaceImage(static_cast<int>(PropValue(control, kBackTypeProp)), iw,
                                           ih, size.cx, size.cy);
        Gdiplus::DllExports::GdipDrawImageRect(graphics.get(), image, place.x, place.y, place.width,
                                               place.height);
      }
    }
  }  // the graphics object is gone, so everything has reached the bitmap
  // The whole button reaches the screen in one copy, so it does not flicker.
  BitBlt(target, 0, 0, size.cx, size.cy, memory.get(), 0, 0, SRCCOPY);
}

ImageHandle ImageForState(HWND control, int state) {
  const uintptr_t images[4] = {
      PropValue(control, kNormalImageProp), PropValue(control, kHoverImageProp),
      PropValue(control, kPressedImageProp), PropValue(control, kDisabledImageProp)};
  return reinterpret_cast<ImageHandle>(PickStateImage(state, images));
}

int DrawStateOf(HWND control) {
  return static_cast<int>(PropValue(control, kDrawStateProp));
}

void SetDrawState(HWND control, int state, bool force) {
  if (state != DrawStateOf(control)) {
    SetPropValue(control, kDrawStateProp, static_cast<uintptr_t>(state));
    RedrawButton(control, nullptr);
  } else if (force) {
    RedrawButton(control, nullptr);
  }
}

void OnSetState(HWND control, WPARAM wParam) {
  ApplyEvent(control, wParam == 1 ? ButtonEvent::kSetStatePushed : ButtonEvent::kSetStateOther);
}

}  // namespace setup
