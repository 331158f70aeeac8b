// Painting and input of the layer's own control classes, and the subclass
// procedure of system controls.
#include <windows.h>
#include <objidl.h>

#include <gdiplus.h>

#include "skin/scoped_gdi.h"
#include "wizard/ui/control.h"
#include "wizard/ui/window_layer.h"

namespace setup::ui {

namespace gp = Gdiplus::DllExports;

const char kFormClass[] = "SetupForm";
const char kImageButtonClass[] = "SetupImageButton";
const char kTransparentLabelClass[] = "SetupTransparentLabel";
const char kShapeBoxClass[] = "SetupShapeBox";
const char kPageContainerClass[] = "SetupPageContainer";
const char kPictureBoxClass[] = "SetupPictureBox";

namespace {

// An off-screen copy of a client area, copied to the target in one BitBlt.
class OffscreenDc {
 public:
  OffscreenDc(HDC target, int width, int height)
      : target_(target),
        width_(width),
        height_(height),
        dc_(target),
        bitmap_(CreateCompatibleBitmap(target, width, height)),
        selection_(dc_.get(), bitmap_.get()) {}
  ~OffscreenDc() { BitBlt(target_, 0, 0, width_, height_, dc_.get(), 0, 0, SRCCOPY); }
  OffscreenDc(const OffscreenDc&) = delete;
  OffscreenDc& operator=(const OffscreenDc&) = delete;
  HDC get() const { return dc_.get(); }

 private:
  HDC target_;
  int width_, height_;
  MemoryDc dc_;
  GdiObject bitmap_;
  Selection selection_;
};

void FillColor(HDC dc, const RECT& rc, uint32_t color) {
  GdiObject brush(CreateSolidBrush(color));
  FillRect(dc, &rc, static_cast<HBRUSH>(brush.get()));
}

void DrawPicture(HDC dc, Gdiplus::GpImage* image, const RECT& rc, Placement placement) {
  if (!image) return;
  ScopedGraphics scoped(dc);
  Gdiplus::GpGraphics* graphics = scoped.get();
  if (!graphics) return;
  gp::GdipSetInterpolationMode(graphics, Gdiplus::InterpolationModeHighQualityBicubic);
  gp::GdipSetPixelOffsetMode(graphics, Gdiplus::PixelOffsetModeHalf);
  UINT iw = 0, ih = 0;
  gp::GdipGetImageWidth(image, &iw);
  gp::GdipGetImageHeight(image, &ih);
  const int w = rc.right - rc.left, h = rc.bottom - rc.top;
  int x = 0, y = 0, dw = static_cast<int>(iw), dh = static_cast<int>(ih);
  if (placement == Placement::kStretch) {
    dw = w;
    dh = h;
  } else if (placement == Placement::kFit && iw && ih) {
    if (dw > w) {
      dh = dh * w / dw;
      dw = w;
    }
    if (dh > h) {
      dw = dw * h / dh;
      dh = h;
    }
    x = (w - dw) / 2;
    y = (h - dh) / 2;
  }
  gp::GdipDrawImageRectI(graphics, image, rc.left + x, rc.top + y, dw, dh);
}

Control* ControlOf(HWND hwnd) {
  return reinterpret_cast<Control*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}

void PaintTransparentLabel(Control* c, HDC target) {
  RECT rc;
  GetClientRect(c->hwnd, &rc);
  OffscreenDc off(target, rc.right, rc.bottom);
  HDC dc = off.get();
  PaintBeneath(c, dc);
  char text[1024];
  const int n = GetWindowTextA(c->hwnd, text, sizeof text);
  HGDIOBJ oldFont =
      SelectObject(dc, c->form->Font(c->entry->font, (c->entry->flags & kUnderline) != 0));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, c->entry->textColor == kNoColor ? 0 : c->entry->textColor);
  TEXTMETRICA metrics{};
  GetTextMetricsA(dc, &metrics);
  if (rc.bottom < 2 * metrics.tmHeight) {
    // Room for one line: the text stays on it, centred vertically, cut at the edge.
    DrawTextA(dc, text, n, &rc, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  } else {
    RECT measure = rc;
    DrawTextA(dc, text, n, &measure, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX | DT_CALCRECT);
    RECT place = rc;
    const int spare = rc.bottom - (measure.bottom - measure.top);
    if (spare > 0) place.top += spare / 2;
    DrawTextA(dc, text, n, &place, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
  }
  SelectObject(dc, oldFont);
}

uint32_t ButtonBackground(const Control* c) {
  const bool enabled = IsWindowEnabled(c->hwnd) != FALSE;
  if (!enabled) return c->normalBack;
  if (c->hot || c->pressed) return c->entry->scheme.hot;
  if (GetFocus() == c->hwnd) return c->entry->scheme.focused;
  return c->normalBack;
}

// A disabled caption fades halfway towards the background.
uint32_t Blend(uint32_t a, uint32_t b) {
  auto half = [&](int shift) {
    return ((((a >> shift) & 0xFF) + ((b >> shift) & 0xFF)) / 2) << shift;
  };
  return half(0) | half(8) | half(16);
}

void PaintImageButton(Control* c, HDC target) {
  RECT rc;
  GetClientRect(c->hwnd, &rc);
  OffscreenDc off(target, rc.right, rc.bottom);
  HDC dc = off.get();
  const bool enabled = IsWindowEnabled(c->hwnd) != FALSE;
  const uint32_t back = ButtonBackground(c);
  FillColor(dc, rc, back);
  Gdiplus::GpImage* picture =
      (enabled && (c->hot || c->pressed) && c->hotPicture) ? c->hotPicture : c->picture;
  DrawPicture(dc, picture, rc, Placement::kStretch);
  char text[256];
  const int n = GetWindowTextA(c->hwnd, text, sizeof text);
  HGDIOBJ oldFont = SelectObject(dc, c->form->Font(c->entry->font, false));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, enabled ? c->entry->scheme.caption : Blend(c->entry->scheme.caption, back));
  RECT place = rc;
  if (c->pressed && c->hot) OffsetRect(&place, 1, 1);
  DrawTextA(dc, text, n, &place, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  SelectObject(dc, oldFont);
}

void PaintShapeBox(Control* c, HDC dc) {
  RECT rc;
  GetClientRect(c->hwnd, &rc);
  if (c->entry->fillColor == kNoColor) {
    PaintBeneath(c, dc);
  } else {
    FillColor(dc, rc, c->entry->fillColor);
  }
  if (c->entry->lineColor != kNoColor) {
    GdiObject pen(CreatePen(PS_SOLID, 1, c->entry->lineColor));
    Selection penSelected(dc, pen.get());
    Selection brushSelected(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, 0, 0, rc.right, rc.bottom);
  }
}

void PaintPictureBox(Control* c, HDC target) {
  RECT rc;
  GetClientRect(c->hwnd, &rc);
  OffscreenDc off(target, rc.right, rc.bottom);
  FillColor(off.get(), rc, GroundColor(c));
  DrawPicture(off.get(), c->picture, rc, Placement::kStretch);
}

void Paint(Control* c, HDC dc) {
  switch (c->kind()) {
    case Kind::kTransparentLabel:
      PaintTransparentLabel(c, dc);
      break;
    case Kind::kImageButton:
      PaintImageButton(c, dc);
      break;
    case Kind::kShapeBox:
      PaintShapeBox(c, dc);
      break;
    case Kind::kPictureBox:
      PaintPictureBox(c, dc);
      break;
    case Kind::kPageContainer: {
      RECT rc;
      GetClientRect(c->hwnd, &rc);
      FillColor(dc, rc, GroundColor(c));
      break;
    }
    default:
      break;
  }
}

bool CursorInside(HWND hwnd) {
  POINT pt;
  GetCursorPos(&pt);
  RECT rc;
  GetWindowRect(hwnd, &rc);
  return PtInRect(&rc, pt) != FALSE;
}

LRESULT ImageButtonInput(Control* c, UINT msg, WPARAM wParam, bool* handled) {
  *handled = true;
  switch (msg) {
    case WM_MOUSEMOVE:
      if (!c->hot) {
        c->hot = true;
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, c->hwnd, 0};
        TrackMouseEvent(&track);
        InvalidateRect(c->hwnd, nullptr, FALSE);
      }
      return 0;
    case WM_MOUSELEAVE:
      c->hot = false;
      InvalidateRect(c->hwnd, nullptr, FALSE);
      return 0;
    case WM_LBUTTONDOWN:
      SetFocus(c->hwnd);
      SetCapture(c->hwnd);
      c->pressed = true;
      InvalidateRect(c->hwnd, nullptr, FALSE);
      return 0;
    case WM_LBUTTONUP:
      if (c->pressed) {
        c->pressed = false;
        ReleaseCapture();
        InvalidateRect(c->hwnd, nullptr, FALSE);
        if (CursorInside(c->hwnd)) c->form->RaiseClick(c);
      }
      return 0;
    case WM_CAPTURECHANGED:
      if (c->pressed) {
        c->pressed = false;
        InvalidateRect(c->hwnd, nullptr, FALSE);
      }
      return 0;
    case WM_KEYDOWN:
      if (wParam == VK_RETURN || wParam == VK_SPACE) c->form->RaiseClick(c);
      return 0;
    case BM_CLICK:  // what UI automation sends to press a button
      if (IsWindowEnabled(c->hwnd)) c->form->RaiseClick(c);
      return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
      InvalidateRect(c->hwnd, nullptr, FALSE);
      return 0;
    case WM_GETDLGCODE:
      return DLGC_BUTTON;
    default:
      *handled = false;
      return 0;
  }
}

// Siblings above `hwnd` that are drawn over what lies beneath them (the skinned
// caption buttons) must be drawn again once it has repainted the area they cover.
void RedrawTransparentSiblingsAbove(HWND hwnd, const RECT& painted) {
  RECT area = painted;
  MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&area), 2);
  for (HWND s = GetWindow(hwnd, GW_HWNDPREV); s; s = GetWindow(s, GW_HWNDPREV)) {
    if (!IsWindowVisible(s) || !(GetWindowLongA(s, GWL_EXSTYLE) & WS_EX_TRANSPARENT)) continue;
    RECT theirs, overlap;
    GetWindowRect(s, &theirs);
    if (IntersectRect(&overlap, &area, &theirs)) InvalidateRect(s, nullptr, FALSE);
  }
}

}  // namespace

uint32_t GroundColor(const Control* control) {
  for (const Control* p = control->parent; p; p = p->parent)
    if (p->kind() == Kind::kShapeBox && p->entry->fillColor != kNoColor) return p->entry->fillColor;
  return control->form->layout()->background;
}

void PaintBeneath(Control* control, HDC dc) {
  RECT rc;
  GetClientRect(control->hwnd, &rc);
  FillColor(dc, rc, GroundColor(control));
  // Lower siblings, from the bottom-most up, print the part that lies beneath.
  HWND below[32];
  int count = 0;
  for (HWND s = GetWindow(control->hwnd, GW_HWNDNEXT); s && count < 32;
       s = GetWindow(s, GW_HWNDNEXT))
    if (IsWindowVisible(s) && control->form->FromWindow(s)) below[count++] = s;
  RECT mine;
  GetWindowRect(control->hwnd, &mine);
  for (int i = count - 1; i >= 0; --i) {
    RECT theirs, overlap;
    GetWindowRect(below[i], &theirs);
    if (!IntersectRect(&overlap, &mine, &theirs)) continue;
    const int saved = SaveDC(dc);
    SetViewportOrgEx(dc, theirs.left - mine.left, theirs.top - mine.top, nullptr);
    SendMessageA(below[i], WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    RestoreDC(dc, saved);
  }
}

void StartWindowDrag(HWND anyChild) {
  HWND top = GetAncestor(anyChild, GA_ROOT);
  ReleaseCapture();
  SendMessageA(top, WM_NCLBUTTONDOWN, HTCAPTION, 0);
}

LRESULT CALLBACK ControlProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    auto* created = reinterpret_cast<CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created->lpCreateParams));
    static_cast<Control*>(created->lpCreateParams)->hwnd = hwnd;
  }
  Control* c = ControlOf(hwnd);
  if (!c) return DefWindowProcA(hwnd, msg, wParam, lParam);
  bool handled = false;
  const LRESULT dispatched = c->form->Dispatch(hwnd, msg, wParam, lParam, &handled);
  if (handled) return dispatched;
  if (c->kind() == Kind::kImageButton) {
    const LRESULT r = ImageButtonInput(c, msg, wParam, &handled);
    if (handled) return r;
  }
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      Paint(c, dc);
      EndPaint(hwnd, &ps);
      RedrawTransparentSiblingsAbove(hwnd, ps.rcPaint);
      return 0;
    }
    case WM_PRINTCLIENT:
      Paint(c, reinterpret_cast<HDC>(wParam));
      return 0;
    case WM_ERASEBKGND:
      return 1;  // every paint covers the whole client area
    case WM_NCHITTEST:
      // A disabled label takes no mouse input: it goes to what lies beneath.
      if (c->kind() == Kind::kTransparentLabel && !IsWindowEnabled(hwnd)) return HTTRANSPARENT;
      break;
    case WM_SETCURSOR:
      if (c->entry->flags & kHandCursor) {
        SetCursor(LoadCursorA(nullptr, IDC_HAND));
        return TRUE;
      }
      break;
    case WM_LBUTTONDOWN:
      if (c->kind() == Kind::kTransparentLabel) {
        c->form->RaiseLeftButtonDown(c);
        return 0;
      }
      if (MovesWindow(c->kind())) {
        StartWindowDrag(hwnd);
        return 0;
      }
      break;
    case WM_SETTEXT: {
      const LRESULT r = DefWindowProcA(hwnd, msg, wParam, lParam);
      InvalidateRect(hwnd, nullptr, FALSE);
      return r;
    }
    default:
      break;
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK SystemControlProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  Control* c = reinterpret_cast<Control*>(GetPropA(hwnd, "SetupControl"));
  if (!c) return DefWindowProcA(hwnd, msg, wParam, lParam);
  if (msg == kMsgFeedback) {
    bool handled = false;
    c->form->Dispatch(hwnd, msg, wParam, lParam, &handled);
    return 0;
  }
  if (msg == WM_LBUTTONDOWN && MovesWindow(c->kind())) {
    StartWindowDrag(hwnd);
    return 0;
  }
  return CallWindowProcA(c->previous, hwnd, msg, wParam, lParam);
}

void RegisterControlClasses(WNDPROC formProc) {
  static bool registered = false;
  if (registered) return;
  registered = true;
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.lpfnWndProc = formProc;
  wc.lpszClassName = kFormClass;
  wc.hIcon = LoadIconA(wc.hInstance, MAKEINTRESOURCEA(1));
  wc.hIconSm = wc.hIcon;
  RegisterClassExA(&wc);
  wc.hIcon = wc.hIconSm = nullptr;
  wc.lpfnWndProc = ControlProc;
  for (const char* name : {kImageButtonClass, kTransparentLabelClass, kShapeBoxClass,
                           kPageContainerClass, kPictureBoxClass}) {
    wc.lpszClassName = name;
    RegisterClassExA(&wc);
  }
}

}  // namespace setup::ui
