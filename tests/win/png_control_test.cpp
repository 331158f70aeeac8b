// Image buttons on real windows: states through real input and messages, what
// reaches the screen, and what the module keeps from the system's procedures.
#include "skin/png_control.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <memory>

#include "skin/caption_buttons.h"
#include "skin/caption_images.h"
#include "skin/gdiplus_api.h"
#include "skin/png_loader.h"
#include "skin_support.h"

namespace skintest {
namespace {

using setup::CaptionImage;

constexpr int kParentX = 300, kParentY = 300;
constexpr int kCloseX = 150, kMinimiseX = 120, kButtonY = 10;

int StateOf(HWND button) {
  return setup::DrawStateOf(button);
}

uintptr_t Prop(HWND window, const char* name) {
  return reinterpret_cast<uintptr_t>(GetPropA(window, name));
}

// The image's pixels as GDI+ decodes them, 0xAARRGGBB (not premultiplied).
std::vector<uint32_t> GlyphPixels(CaptionImage which, int* width, int* height) {
  setup::ImageHandle image = setup::LoadImageFromBytes(setup::CaptionImageBytes(which));
  UINT w = 0, h = 0;
  Gdiplus::DllExports::GdipGetImageWidth(image, &w);
  Gdiplus::DllExports::GdipGetImageHeight(image, &h);
  std::vector<uint32_t> out(static_cast<size_t>(w) * h);
  for (UINT y = 0; y < h; ++y)
    for (UINT x = 0; x < w; ++x) {
      Gdiplus::ARGB argb = 0;
      Gdiplus::DllExports::GdipBitmapGetPixel(reinterpret_cast<Gdiplus::GpBitmap*>(image), x, y,
                                              &argb);
      out[y * w + x] = static_cast<uint32_t>(argb);
    }
  Gdiplus::DllExports::GdipDisposeImage(image);
  *width = static_cast<int>(w);
  *height = static_cast<int>(h);
  return out;
}

// A glyph pixel over a background pixel, both 0x..RRGGBB.
uint32_t Over(uint32_t argb, uint32_t background) {
  const uint32_t a = argb >> 24;
  uint32_t out = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    const uint32_t c = (argb >> shift) & 0xFF, b = (background >> shift) & 0xFF;
    out |= ((c * a + b * (255 - a) + 127) / 255) << shift;
  }
  return out;
}

bool Near(uint32_t a, uint32_t b, int tolerance) {
  for (int shift = 0; shift <= 16; shift += 8) {
    const int d = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
    if (d > tolerance || d < -tolerance) return false;
  }
  return true;
}

// The 24 x 24 button at (bx, by) of the pattern window shows `glyph` at
// (gx, gy) over the window's own pixels, read back from the window's surface.
::testing::AssertionResult Shows(HWND parent, int bx, int by, CaptionImage glyph, int gx, int gy) {
  int gw = 0, gh = 0;
  const std::vector<uint32_t> g = GlyphPixels(glyph, &gw, &gh);
  const std::vector<uint32_t> seen = ReadClient(parent, bx, by, 24, 24);
  int wrong = 0;
  ::testing::AssertionResult result = ::testing::AssertionFailure();
  for (int y = 0; y < 24; ++y)
    for (int x = 0; x < 24; ++x) {
      const uint32_t background = Pattern(bx + x, by + y);
      const bool inGlyph = x >= gx && x < gx + gw && y >= gy && y < gy + gh;
      const uint32_t want =
          inGlyph ? Over(g[static_cast<size_t>(y - gy) * gw + (x - gx)], background) : background;
      const uint32_t got = seen[static_cast<size_t>(y) * 24 + x];
      if (!Near(got, want, 2) && ++wrong <= 6)
        result << std::hex << " (" << std::dec << x << "," << y << "): " << std::hex << got
               << " not " << want << ";";
    }
  if (wrong == 0) return ::testing::AssertionSuccess();
  return result << " " << std::dec << wrong << " pixels differ";
}

class ImageButton : public ::testing::Test {
 protected:
  void SetUp() override {
    parent_ = std::make_unique<PatternWindow>(kParentX, kParentY, 200, 120);
    close_ = CreateRecordingButton(parent_->hwnd(), kCloseX, kButtonY, 101);
    minimise_ = CreateRecordingButton(parent_->hwnd(), kMinimiseX, kButtonY, 102);
    ASSERT_TRUE(close_ && minimise_);
    Pump(100);
    ButtonLog().clear();
  }
  void TearDown() override {
    parent_.reset();
    ButtonLog().clear();
  }
  bool Painted() {
    return PumpUntil([&] {
      return Prop(close_, "PngControl_CacheBitmap") && Prop(minimise_, "PngControl_CacheBitmap");
    });
  }
  HWND parent() const { return parent_->hwnd(); }
  std::unique_ptr<PatternWindow> parent_;
  HWND close_ = nullptr, minimise_ = nullptr;
};

TEST_F(ImageButton, AttachingChangesStylesAndSubclassesEachWindowOnce) {
  setup::PngControl control;
  ASSERT_TRUE(control.AttachButton(close_));
  ASSERT_TRUE(control.AttachButton(minimise_));
  ASSERT_TRUE(control.AttachButton(close_));
  EXPECT_EQ(control.window(), close_);

  EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongA(parent(), GWL_WNDPROC)), setup::PngParentProc);
  EXPECT_EQ(reinterpret_cast<WNDPROC>(Prop(parent(), "PngControl_WndProc")),
            PatternWindow::Procedure());
  EXPECT_EQ(Prop(parent(), "PngControl_Type"), 0u);
  EXPECT_EQ(GetWindowLongA(parent(), GWL_STYLE) & WS_CLIPCHILDREN, 0);
  for (HWND button : {close_, minimise_}) {
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongA(button, GWL_WNDPROC)), setup::PngButtonProc);
    EXPECT_EQ(reinterpret_cast<WNDPROC>(Prop(button, "PngControl_WndProc")),
              RecordingButtonProcedure());
    EXPECT_EQ(Prop(button, "PngControl_Type"), 3u);
    const LONG style = GetWindowLongA(button, GWL_STYLE);
    EXPECT_EQ(style & 0x0F, BS_OWNERDRAW);
    EXPECT_EQ(style & WS_CLIPSIBLINGS, 0);
    EXPECT_NE(GetWindowLongA(button, GWL_EXSTYLE) & WS_EX_TRANSPARENT, 0);
  }
  // One message to the parent reaches its own procedure once.
  parent_->seen.clear();
  SendMessageA(parent(), WM_USER + 5, 1, 2);
  EXPECT_EQ(parent_->seen.size(), 1u);

  // A control inside an attached control: that control keeps its procedure.
  HWND inner = CreateWindowExA(0, "BUTTON", "", WS_CHILD | WS_VISIBLE, 2, 2, 10, 10, close_,
                               nullptr, GetModuleHandleA(nullptr), nullptr);
  ASSERT_TRUE(control.AttachButton(inner));
  EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongA(close_, GWL_WNDPROC)), setup::PngButtonProc);
  EXPECT_EQ(reinterpret_cast<WNDPROC>(Prop(close_, "PngControl_WndProc")),
            RecordingButtonProcedure());

  // Styles are written only when they change.
  EXPECT_FALSE(setup::ModifyStyle(close_, WS_CLIPSIBLINGS, 0));
  EXPECT_TRUE(setup::ModifyStyle(close_, 0, WS_CLIPSIBLINGS));
  EXPECT_NE(GetWindowLongA(close_, GWL_STYLE) & WS_CLIPSIBLINGS, 0);
  EXPECT_FALSE(setup::ModifyStyleEx(close_, 0, WS_EX_TRANSPARENT));
}

TEST_F(ImageButton, NotAWindowIsRefusedAndLaterSettingsGoNowhere) {
  HWND gone = CreateRecordingButton(parent(), 0, 0, 103);
  DestroyWindow(gone);
  setup::PngControl control;
  ASSERT_TRUE(control.AttachButton(close_));
  const setup::ImageHandle light =
      setup::LoadImageFromBytes(setup::CaptionImageBytes(CaptionImage::kCloseLight));
  ASSERT_NE(light, nullptr);
  control.SetImages(light);
  EXPECT_FALSE(control.AttachButton(gone));
  EXPECT_EQ(control.window(), nullptr);
  control.SetImages(nullptr, nullptr);
  control.SetBackType(1);
  EXPECT_EQ(Prop(close_, "PngControl_NormalImage"), reinterpret_cast<uintptr_t>(light));
  EXPECT_EQ(Prop(close_, "PngControl_BackType"), 0u);
}

TEST_F(ImageButton, SetImagesStoresWhatIsGivenAndTheStateFallsBackToNormal) {
  setup::PngControl control;
  ASSERT_TRUE(control.AttachButton(close_));
  const setup::ImageHandle a =
      setup::LoadImageFromBytes(setup::CaptionImageBytes(CaptionImage::kCloseLight));
  const setup::ImageHandle b =
      setup::LoadImageFromBytes(setup::CaptionImageBytes(CaptionImage::kCloseDark));
  control.SetImages(a, b, b);
  control.SetImages(std::nullopt, std::nullopt, std::nullopt, b);
  EXPECT_EQ(setup::ImageForState(close_, setup::kDrawNormal), a);
  EXPECT_EQ(setup::ImageForState(close_, setup::kDrawDisabled), b);
  control.SetImages(std::nullopt, nullptr);  // a missing image is stored too
  EXPECT_EQ(Prop(close_, "PngControl_OverlImage"), 0u);
  EXPECT_EQ(setup::ImageForState(close_, setup::kDrawHover), a);
  EXPECT_EQ(setup::ImageForState(close_, setup::kDrawPressed), b);
  control.SetBackType(2);
  EXPECT_EQ(Prop(close_, "PngControl_BackType"), 2u);
}

TEST_F(ImageButton, DrawsNothingBeforeItsFirstPaintThenTheGlyphsOverTheBackground) {
  const std::vector<uint32_t> before = ReadClient(parent(), kMinimiseX, kButtonY, 54, 24);
  ASSERT_TRUE(setup::SkinCaptionButtons(close_, minimise_));
  EXPECT_EQ(Prop(close_, "PngControl_CacheBitmap"), 0u);
  // Redraws and state changes before the first WM_PAINT leave the screen alone.
  setup::RedrawButton(close_);
  setup::SetDrawState(close_, setup::kDrawHover, true);
  SendMessageA(minimise_, BM_SETSTATE, 1, 0);
  EXPECT_EQ(ReadClient(parent(), kMinimiseX, kButtonY, 54, 24), before);
  setup::SetDrawState(close_, setup::kDrawNormal, false);
  SendMessageA(minimise_, BM_SETSTATE, 0, 0);

  ASSERT_TRUE(Painted());
  Pump(50);
  EXPECT_EQ(Prop(close_, "PngControl_BackType"), 2u);
  EXPECT_TRUE(Shows(parent(), kCloseX, kButtonY, CaptionImage::kCloseLight, 6, 6));
  EXPECT_TRUE(Shows(parent(), kMinimiseX, kButtonY, CaptionImage::kMinimiseLight, 6, 5));
}

POINT ScreenPoint(int clientX, int clientY) {
  return {kParentX + clientX, kParentY + clientY};
}

void Click(DWORD flags) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = flags;
  SendInput(1, &input, sizeof input);
}

bool Clicked(const std::vector<Seen>& seen, HWND button) {
  for (const Seen& s : seen)
    if (s.message == WM_COMMAND && HIWORD(s.wParam) == BN_CLICKED &&
        reinterpret_cast<HWND>(s.lParam) == button)
      return true;
  return false;
}

bool Logged(UINT message) {
  for (const ButtonSeen& s : ButtonLog())
    if (s.message == message) return true;
  return false;
}

const ButtonSeen* FirstLogged(UINT message) {
  for (const ButtonSeen& s : ButtonLog())
    if (s.message == message) return &s;
  return nullptr;
}

TEST_F(ImageButton, ReachesEveryStateThroughRealMessages) {
  ASSERT_TRUE(setup::SkinCaptionButtons(close_, minimise_));
  ASSERT_TRUE(Painted());
  auto becomes = [&](int state) { return PumpUntil([&] { return StateOf(close_) == state; }); };

  // The pointer moves over the button: hover, with the dark glyph.
  const POINT over = ScreenPoint(kCloseX + 12, kButtonY + 12);
  SetCursorPos(over.x, over.y);
  ASSERT_TRUE(becomes(setup::kDrawHover));
  EXPECT_TRUE(Shows(parent(), kCloseX, kButtonY, CaptionImage::kCloseDark, 6, 6));

  // Left button down: pressed (the system button takes the focus).
  parent_->seen.clear();
  Click(MOUSEEVENTF_LEFTDOWN);
  ASSERT_TRUE(becomes(setup::kDrawPressed));
  EXPECT_EQ(Prop(close_, "PngControl_IsFoucs"), 1u);
  // Left button up: the click reaches the parent as before. The system button
  // first releases itself with BM_SETSTATE 0, which with the focus gives hover;
  // the button-up then finds hover and gives normal, until the pointer move that
  // follows the end of the capture makes it hover again.
  ButtonLog().clear();
  Click(MOUSEEVENTF_LEFTUP);
  ASSERT_TRUE(PumpUntil([&] { return Clicked(parent_->seen, close_); }));
  const ButtonSeen* release = FirstLogged(BM_SETSTATE);
  ASSERT_NE(release, nullptr);
  EXPECT_EQ(release->wParam, 0u);
  EXPECT_EQ(release->stateThen, setup::kDrawPressed);
  ASSERT_TRUE(becomes(setup::kDrawHover));
  const ButtonSeen* move = FirstLogged(WM_MOUSEMOVE);
  ASSERT_NE(move, nullptr);
  EXPECT_EQ(move->stateThen, setup::kDrawNormal);

  // The pointer leaves: normal, with the light glyph.
  SetCursorPos(5, 5);
  ASSERT_TRUE(becomes(setup::kDrawNormal));
  EXPECT_TRUE(Shows(parent(), kCloseX, kButtonY, CaptionImage::kCloseLight, 6, 6));

  // BM_SETSTATE: 1 presses; 2 does not, and gives hover while focused.
  SendMessageA(close_, BM_SETSTATE, 1, 0);
  EXPECT_EQ(StateOf(close_), setup::kDrawPressed);
  SendMessageA(close_, BM_SETSTATE, 2, 0);
  EXPECT_EQ(StateOf(close_), setup::kDrawHover);
  // Losing the focus in hover: normal; BM_SETSTATE 2 without focus: normal.
  SetFocus(minimise_);
  EXPECT_EQ(Prop(close_, "PngControl_IsFoucs"), 0u);
  EXPECT_EQ(StateOf(close_), setup::kDrawNormal);
  SendMessageA(close_, BM_SETSTATE, 1, 0);
  SendMessageA(close_, BM_SETSTATE, 2, 0);
  EXPECT_EQ(StateOf(close_), setup::kDrawNormal);
  // Gaining the focus while pressed: hover.
  SendMessageA(close_, BM_SETSTATE, 1, 0);
  SetFocus(close_);
  EXPECT_EQ(StateOf(close_), setup::kDrawHover);
  // Left button up while pressed: hover; in any other state: normal.
  SendMessageA(close_, BM_SETSTATE, 1, 0);
  SendMessageA(close_, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(StateOf(close_), setup::kDrawHover);
  SendMessageA(close_, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(StateOf(close_), setup::kDrawNormal);

  // Disabled shows the disabled image; enabled again, the normal one.
  SetFocus(parent());
  EnableWindow(close_, FALSE);
  EXPECT_EQ(StateOf(close_), setup::kDrawDisabled);
  EXPECT_TRUE(Shows(parent(), kCloseX, kButtonY, CaptionImage::kCloseDark, 6, 6));
  EnableWindow(close_, TRUE);
  EXPECT_EQ(StateOf(close_), setup::kDrawNormal);
  EXPECT_TRUE(Shows(parent(), kCloseX, kButtonY, CaptionImage::kCloseLight, 6, 6));
  // All of it was drawn over the copy taken at the first paint: the minimise
  // button next to it was never disturbed.
  EXPECT_TRUE(Shows(parent(), kMinimiseX, kButtonY, CaptionImage::kMinimiseLight, 6, 5));
}

TEST_F(ImageButton, PaintingAndFocusStayWithTheModuleAndTheRestPassesOnFirst) {
  setup::PngControl control;
  ASSERT_TRUE(control.AttachButton(close_));
  ASSERT_TRUE(PumpUntil([&] { return Prop(close_, "PngControl_CacheBitmap") != 0; }));
  ButtonLog().clear();

  EXPECT_EQ(SendMessageA(close_, WM_NCPAINT, 1, 0), 0);
  EXPECT_EQ(SendMessageA(close_, WM_ERASEBKGND, 0, 0), 1);
  EXPECT_EQ(SendMessageA(close_, WM_SETFOCUS, 0, 0), 0);
  EXPECT_EQ(SendMessageA(close_, WM_KILLFOCUS, 0, 0), 0);
  InvalidateRect(close_, nullptr, FALSE);
  UpdateWindow(close_);
  for (UINT kept : {WM_PAINT, WM_NCPAINT, WM_ERASEBKGND, WM_SETFOCUS, WM_KILLFOCUS})
    EXPECT_FALSE(Logged(kept)) << "message " << std::hex << kept << " reached the system button";

  // The system button sees these first, before the state changes.
  SendMessageA(close_, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  ASSERT_NE(FirstLogged(WM_LBUTTONDOWN), nullptr);
  EXPECT_EQ(FirstLogged(WM_LBUTTONDOWN)->stateThen, setup::kDrawNormal);
  EXPECT_FALSE(Logged(WM_SETFOCUS)) << "the focus the system button took was passed on";
  SendMessageA(close_, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  ASSERT_NE(FirstLogged(WM_LBUTTONUP), nullptr);
  ButtonLog().clear();
  SendMessageA(close_, BM_SETSTATE, 1, 0);
  ASSERT_NE(FirstLogged(BM_SETSTATE), nullptr);
  EXPECT_NE(FirstLogged(BM_SETSTATE)->stateThen, setup::kDrawPressed);
  EXPECT_EQ(StateOf(close_), setup::kDrawPressed);
  EnableWindow(close_, FALSE);
  ASSERT_NE(FirstLogged(WM_ENABLE), nullptr);
  EXPECT_EQ(FirstLogged(WM_ENABLE)->stateThen, setup::kDrawPressed);
  EnableWindow(close_, TRUE);
  EXPECT_EQ(SendMessageA(close_, WM_GETDLGCODE, 0, 0),
            CallWindowProcA(RecordingButtonProcedure(), close_, WM_GETDLGCODE, 0, 0));
}

TEST_F(ImageButton, ParentHandsAttachedControlsATransparentBackground) {
  setup::PngControl control;
  ASSERT_TRUE(control.AttachButton(close_));
  HWND plain = minimise_;  // not attached
  HDC dc = GetDC(parent());
  const UINT colourMessages[] = {WM_CTLCOLORMSGBOX, WM_CTLCOLOREDIT, WM_CTLCOLORLISTBOX,
                                 WM_CTLCOLORBTN,    WM_CTLCOLORDLG,  WM_CTLCOLORSTATIC};
  for (UINT message : colourMessages) {
    SetBkMode(dc, OPAQUE);
    parent_->seen.clear();
    EXPECT_EQ(SendMessageA(parent(), message, reinterpret_cast<WPARAM>(dc),
                           reinterpret_cast<LPARAM>(close_)),
              reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH)))
        << std::hex << message;
    EXPECT_EQ(GetBkMode(dc), TRANSPARENT) << std::hex << message;
    EXPECT_TRUE(parent_->seen.empty()) << std::hex << message << " was passed on";
    EXPECT_EQ(SendMessageA(parent(), message, reinterpret_cast<WPARAM>(dc),
                           reinterpret_cast<LPARAM>(plain)),
              PatternWindow::kColorAnswer)
        << std::hex << message;
  }
  // Scroll bars are not asked about: the message passes through unchanged.
  SetBkMode(dc, OPAQUE);
  parent_->seen.clear();
  EXPECT_EQ(SendMessageA(parent(), WM_CTLCOLORSCROLLBAR, reinterpret_cast<WPARAM>(dc),
                         reinterpret_cast<LPARAM>(close_)),
            PatternWindow::kColorAnswer);
  ASSERT_EQ(parent_->seen.size(), 1u);
  EXPECT_EQ(parent_->seen[0].wParam, reinterpret_cast<WPARAM>(dc));
  EXPECT_EQ(parent_->seen[0].lParam, reinterpret_cast<LPARAM>(close_));
  EXPECT_EQ(GetBkMode(dc), OPAQUE);
  ReleaseDC(parent(), dc);
}

TEST_F(ImageButton, CustomDrawNotificationRedrawsTheButtonFirst) {
  ASSERT_TRUE(setup::SkinCaptionButtons(close_, minimise_));
  ASSERT_TRUE(Painted());
  auto scribble = [&] {
    HDC dc = GetDC(close_);
    RECT all{0, 0, 24, 24};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    ReleaseDC(close_, dc);
  };
  auto notify = [&](UINT code) {
    NMHDR header{close_, 101, code};
    return SendMessageA(parent(), WM_NOTIFY, 101, reinterpret_cast<LPARAM>(&header));
  };
  scribble();
  parent_->seen.clear();
  notify(NM_CLICK);
  EXPECT_EQ(ReadClient(parent(), kCloseX, kButtonY, 1, 1)[0], 0u) << "redrawn for NM_CLICK";
  notify(NM_CUSTOMDRAW);
  EXPECT_TRUE(Shows(parent(), kCloseX, kButtonY, CaptionImage::kCloseLight, 6, 6));
  int notifies = 0;
  for (const Seen& s : parent_->seen) notifies += s.message == WM_NOTIFY;
  EXPECT_EQ(notifies, 2) << "WM_NOTIFY is passed on";
}

TEST_F(ImageButton, SkinningWithAMissingButtonSkinsTheOther) {
  HWND gone = CreateRecordingButton(parent(), 0, 0, 103);
  DestroyWindow(gone);
  EXPECT_FALSE(setup::SkinCaptionButtons(close_, gone));
  EXPECT_EQ(Prop(close_, "PngControl_Type"), 3u);
  EXPECT_NE(Prop(close_, "PngControl_NormalImage"), 0u);
  EXPECT_NE(Prop(close_, "PngControl_OverlImage"), Prop(close_, "PngControl_DownImage"))
      << "each dark state has an image of its own";
  EXPECT_EQ(Prop(minimise_, "PngControl_Type"), 0u);
}

}  // namespace
}  // namespace skintest
