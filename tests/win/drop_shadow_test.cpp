// The drop shadow on real windows under the window manager of the test run.
#include "skin/drop_shadow.h"

#include <gtest/gtest.h>

#include "skin/shadow_geometry.h"
#include "skin_support.h"

namespace skintest {
namespace {

HWND ShadowOf(HWND window) {
  return static_cast<HWND>(GetPropA(window, "WndShadow"));
}

RECT RectOf(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return r;
}

::testing::AssertionResult HasRect(HWND window, int x, int y, int w, int h) {
  const RECT r = RectOf(window);
  if (r.left == x && r.top == y && r.right - r.left == w && r.bottom - r.top == h)
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << "rect (" << r.left << "," << r.top << ") " << r.right - r.left << "x"
         << r.bottom - r.top << ", expected (" << x << "," << y << ") " << w << "x" << h;
}

TEST(Shadow, NotAWindowIsRefusedAndNothingIsMade) {
  HWND gone;
  {
    PatternWindow w(10, 10, 50, 40);
    gone = w.hwnd();
  }
  ASSERT_FALSE(IsWindow(gone));
  const int before = ThreadWindowCount();
  EXPECT_FALSE(setup::AttachShadow(gone, 0x808080));
  EXPECT_FALSE(setup::AttachShadow(nullptr, 0x808080));
  EXPECT_EQ(ThreadWindowCount(), before) << "a shadow window was created";
}

TEST(Shadow, ShadowWindowIsAnOwnedClickThroughLayeredPopup) {
  PatternWindow w(100, 80, 600, 430);
  ASSERT_TRUE(setup::AttachShadow(w.hwnd(), 0x808080));
  HWND shadow = ShadowOf(w.hwnd());
  ASSERT_TRUE(IsWindow(shadow));
  EXPECT_EQ(setup::EnsureShadowWindow(w.hwnd()), shadow) << "an existing shadow is reused";
  EXPECT_EQ(GetWindow(shadow, GW_OWNER), w.hwnd());
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(shadow, GWL_STYLE)) & (WS_POPUP | WS_VISIBLE),
            static_cast<DWORD>(WS_POPUP | WS_VISIBLE));
  EXPECT_EQ(GetWindowLongA(shadow, GWL_EXSTYLE) & (WS_EX_LAYERED | WS_EX_TRANSPARENT),
            WS_EX_LAYERED | WS_EX_TRANSPARENT);
  // A 600 x 430 window at (100, 80) has its shadow at (95, 75), 610 x 440.
  EXPECT_TRUE(HasRect(shadow, 95, 75, 610, 440));
  EXPECT_EQ(reinterpret_cast<uintptr_t>(GetPropA(shadow, "WndShadow.Color")), 0x808080u);
}

TEST(Shadow, AttachingTwiceRecoloursOneShadowAndSubclassesOnce) {
  PatternWindow w(100, 80, 300, 200);
  ASSERT_TRUE(setup::AttachShadow(w.hwnd(), 0x808080));
  HWND shadow = ShadowOf(w.hwnd());
  ASSERT_TRUE(setup::AttachShadow(w.hwnd(), 0x00336699));

  EXPECT_EQ(ShadowOf(w.hwnd()), shadow);
  EXPECT_EQ(OwnedWindows(w.hwnd()), std::vector<HWND>{shadow});
  EXPECT_EQ(reinterpret_cast<uintptr_t>(GetPropA(shadow, "WndShadow.Color")), 0x00336699u);
  EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongA(w.hwnd(), GWL_WNDPROC)),
            setup::ShadowWindowProc);
  EXPECT_EQ(reinterpret_cast<WNDPROC>(GetPropA(w.hwnd(), "WndShadow.Proc")),
            PatternWindow::Procedure());

  // Other messages pass through unchanged, once.
  w.seen.clear();
  EXPECT_EQ(SendMessageA(w.hwnd(), WM_CTLCOLORBTN, 12, 34), PatternWindow::kColorAnswer);
  ASSERT_EQ(w.seen.size(), 1u);
  EXPECT_EQ(w.seen[0].message, static_cast<UINT>(WM_CTLCOLORBTN));
  EXPECT_EQ(w.seen[0].wParam, 12u);
  EXPECT_EQ(w.seen[0].lParam, 34);
}

TEST(Shadow, FollowsMovesAndSizesBeforeTheWindowHearsOfThem) {
  PatternWindow w(100, 80, 300, 200);
  ASSERT_TRUE(setup::AttachShadow(w.hwnd(), 0x808080));
  HWND shadow = ShadowOf(w.hwnd());
  std::vector<RECT> atMove, atSize;
  w.onMessage = [&](UINT message) {
    if (message == WM_MOVE) atMove.push_back(RectOf(shadow));
    if (message == WM_SIZE) atSize.push_back(RectOf(shadow));
  };

  MoveWindow(w.hwnd(), 150, 60, 300, 200, TRUE);
  EXPECT_TRUE(HasRect(shadow, 145, 55, 310, 210));
  ASSERT_FALSE(atMove.empty());
  EXPECT_EQ(atMove.back().left, 145) << "the window saw WM_MOVE before the shadow moved";

  SetWindowPos(w.hwnd(), nullptr, 0, 0, 420, 250, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_TRUE(HasRect(shadow, 145, 55, 430, 260));
  ASSERT_FALSE(atSize.empty());
  EXPECT_EQ(atSize.back().right - atSize.back().left, 430);

  // A window of zero size leaves its shadow where it was, also when it moves.
  SetWindowPos(w.hwnd(), nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_TRUE(HasRect(shadow, 145, 55, 430, 260));
  MoveWindow(w.hwnd(), 10, 10, 0, 0, TRUE);
  EXPECT_TRUE(HasRect(shadow, 145, 55, 430, 260));
  EXPECT_TRUE(IsWindowVisible(shadow));

  MoveWindow(w.hwnd(), 20, 30, 100, 50, TRUE);
  EXPECT_TRUE(HasRect(shadow, 15, 25, 110, 60));
  w.onMessage = nullptr;
}

// The rings as GDI+ draws them on the shadow's surface, against the pixels the
// rings are meant to leave (premultiplied, as GDI+ writes alpha on a DIB).
TEST(Shadow, RenderedSurfaceCarriesTheRingAlphas) {
  PatternWindow w(100, 80, 600, 430);
  for (COLORREF colour : {COLORREF{0x808080}, COLORREF{0x00336699}}) {
    ASSERT_TRUE(setup::AttachShadow(w.hwnd(), colour));
    HWND shadow = ShadowOf(w.hwnd());
    const int width = 610, height = 440;
    HDC screen = GetDC(shadow);
    {
      setup::ShadowSurface surface(screen, width, height);
      ASSERT_TRUE(surface.ok());
      setup::DrawShadowRings(shadow, surface.dc(), width, height);
      GdiFlush();
      std::vector<uint32_t> expected(static_cast<size_t>(width) * height, 0);
      setup::DrawShadowRingPixels(expected, width, height, colour);
      int wrong = 0;
      for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
          // The DIB section is bottom-up: its first row is the shadow's last.
          const uint32_t got = surface.bits()[static_cast<size_t>(height - 1 - y) * width + x];
          const uint32_t want = expected[static_cast<size_t>(y) * width + x];
          if (got != want && ++wrong <= 8)
            ADD_FAILURE() << std::hex << "colour " << colour << " pixel (" << std::dec << x << ","
                          << y << "): " << std::hex << got << ", expected " << want;
        }
      EXPECT_EQ(wrong, 0);
      if (colour == 0x808080) {
        // From the outer edge inwards along the middle row: alphas 5, 20, 35, 50, 65, then clear.
        const uint32_t* row = surface.bits() + static_cast<size_t>(height / 2) * width;
        EXPECT_EQ(row[0], 0x05030303u);
        EXPECT_EQ(row[4], 0x41212121u);
        EXPECT_EQ(row[5], 0u);
        EXPECT_EQ(row[width - 5], 0x41212121u);
      }
    }
    ReleaseDC(shadow, screen);
  }
}

}  // namespace
}  // namespace skintest
