#include "skin/drop_shadow.h"

#include "skin/gdiplus_api.h"
#include "skin/scoped_gdi.h"
#include "skin/shadow_geometry.h"

namespace setup {

namespace {

const char kShadowProp[] = "WndShadow";
const char kColorProp[] = "WndShadow.Color";
const char kProcProp[] = "WndShadow.Proc";

HWND ShadowOf(HWND window) {
  return static_cast<HWND>(GetPropA(window, kShadowProp));
}

HWND CreateShadowWindow(HWND owner, const char* windowClass) {
  return CreateWindowExA(WS_EX_LAYERED | WS_EX_TRANSPARENT, windowClass, "", WS_POPUP | WS_VISIBLE,
                         0, 0, 0, 0, owner, nullptr, GetModuleHandleA(nullptr), nullptr);
}

}  // namespace

bool AttachShadow(HWND window, COLORREF colour) {
  if (!IsWindow(window)) return false;
  if (HWND shadow = EnsureShadowWindow(window))
    SetPropA(shadow, kColorProp, reinterpret_cast<HANDLE>(static_cast<uintptr_t>(colour)));
  UpdateShadow(window);
  if (!GetPropA(window, kProcProp)) {
    const LONG previous =
        SetWindowLongA(window, GWL_WNDPROC, reinterpret_cast<LONG>(&ShadowWindowProc));
    SetPropA(window, kProcProp, reinterpret_cast<HANDLE>(previous));
  }
  return true;
}

HWND EnsureShadowWindow(HWND window) {
  HWND shadow = ShadowOf(window);
  if (shadow && IsWindow(shadow)) return shadow;
  // "SysShadow" is the system's own shadow class where it exists.
  shadow = CreateShadowWindow(window, "SysShadow");
  if (!shadow) shadow = CreateShadowWindow(window, "Static");
  SetPropA(window, kShadowProp, shadow);
  return shadow;
}

void UpdateShadow(HWND window) {
  HWND shadow = ShadowOf(window);
  if (!shadow) return;
  RECT r;
  if (!GetWindowRect(window, &r)) return;
  const int width = r.right - r.left;
  const int height = r.bottom - r.top;
  if (width == 0 || height == 0) return;
  const ShadowRect s = ShadowRectFor(r.left, r.top, width, height);
  MoveWindow(shadow, s.x, s.y, s.width, s.height, TRUE);
  RenderShadow(window, s.width, s.height);
}

ShadowSurface::ShadowSurface(HDC screenDc, int width, int height) {
  dc_ = CreateCompatibleDC(screenDc);
  if (!dc_) return;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;  // positive: bottom-up rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  info.bmiHeader.biSizeImage = static_cast<DWORD>(width) * height * 32 / 8;
  void* bits = nullptr;
  bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap_) return;
  bits_ = static_cast<const uint32_t*>(bits);
  previous_ = SelectObject(dc_, bitmap_);
}

ShadowSurface::~ShadowSurface() {
  if (previous_) SelectObject(dc_, previous_);
  if (bitmap_) DeleteObject(bitmap_);
  if (dc_) DeleteDC(dc_);
}

void RenderShadow(HWND window, int width, int height) {
  HWND shadow = ShadowOf(window);
  if (!shadow) return;
  if (width == 0 || height == 0) {
    RECT r{};
    GetWindowRect(shadow, &r);
    width = r.right - r.left;
    height = r.bottom - r.top;
    if (width == 0 || height == 0) return;
  }
  WindowDc screen(shadow, false);
  ShadowSurface surface(screen.get(), width, height);
  if (!surface.ok()) return;
  DrawShadowRings(shadow, surface.dc(), width, height);
  SIZE size{width, height};
  POINT source{0, 0};
  BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  UpdateLayeredWindow(shadow, screen.get(), nullptr, &size, surface.dc(), &source, 0, &blend,
                      ULW_ALPHA);
}

void DrawShadowRings(HWND shadowWindow, HDC dc, int width, int height) {
  const COLORREF colour =
      static_cast<COLORREF>(reinterpret_cast<uintptr_t>(GetPropA(shadowWindow, kColorProp)));
  ScopedGraphics graphics(dc);
  if (!graphics.get()) return;
  for (int i = 1; i <= kShadowRingCount; ++i) {
    const ShadowRing ring = ShadowRingAt(i, width, height);
    ScopedPen pen(ColorRefToArgb(colour, ring.alpha), 1.0f);
    if (!pen.get()) continue;
    Gdiplus::DllExports::GdipDrawRectangle(
        graphics.get(), pen.get(), static_cast<float>(ring.rect.x), static_cast<float>(ring.rect.y),
        static_cast<float>(ring.rect.width), static_cast<float>(ring.rect.height));
  }
}

LRESULT CALLBACK ShadowWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_SIZE || message == WM_MOVE) UpdateShadow(window);
  const WNDPROC previous = reinterpret_cast<WNDPROC>(GetPropA(window, kProcProp));
  if (previous) return CallWindowProcA(previous, window, message, wParam, lParam);
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace setup
