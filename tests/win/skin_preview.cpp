// A 600 x 430 borderless window like the wizard's, with its drop shadow and the
// two caption buttons at the wizard's places, for looking at the skinning.
// Arguments: [hover] [seconds]; with "hover" the pointer rests on the close
// button. The window closes itself after the given seconds (default 10).
#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "skin/caption_buttons.h"
#include "skin/drop_shadow.h"
#include "skin/graphics_startup.h"

namespace {

constexpr int kX = 180, kY = 120, kWidth = 600, kHeight = 430;

LRESULT CALLBACK PreviewProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      // A green banner over the top 300 pixels, white below.
      for (int y = 0; y < 300; y += 4) {
        RECT band{0, y, kWidth, y + 4};
        HBRUSH brush = CreateSolidBrush(RGB(20 + y / 10, 150 + y / 6, 90 + y / 8));
        FillRect(dc, &band, brush);
        DeleteObject(brush);
      }
      RECT lower{0, 300, kWidth, kHeight};
      FillRect(dc, &lower, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, RGB(255, 255, 255));
      TextOutA(dc, 24, 20, "Setup", 5);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_TIMER:
    case WM_COMMAND:
      DestroyWindow(hwnd);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(hwnd, message, wParam, lParam);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  setup::StartLoadDialogModule();
  setup::StartImageButtonModule();
  const bool hover = std::strstr(commandLine, "hover") != nullptr;
  const char* digits = commandLine + std::strcspn(commandLine, "0123456789");
  const int seconds = *digits ? std::atoi(digits) : 10;

  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = PreviewProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.lpszClassName = "SkinPreview";
  RegisterClassExA(&wc);
  HWND window = CreateWindowExA(0, "SkinPreview", "Setup", WS_POPUP | WS_VISIBLE, kX, kY, kWidth,
                                kHeight, nullptr, nullptr, instance, nullptr);
  HWND close = CreateWindowExA(0, "BUTTON", "", WS_CHILD | WS_VISIBLE, 567, 3, 24, 24, window,
                               reinterpret_cast<HMENU>(1), instance, nullptr);
  HWND minimise = CreateWindowExA(0, "BUTTON", "", WS_CHILD | WS_VISIBLE, 541, 3, 24, 24, window,
                                  reinterpret_cast<HMENU>(2), instance, nullptr);
  setup::AttachShadow(window, 0x808080);
  setup::SkinCaptionButtons(close, minimise);
  if (hover) SetCursorPos(kX + 567 + 12, kY + 3 + 12);
  SetTimer(window, 1, static_cast<UINT>(seconds) * 1000, nullptr);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}
