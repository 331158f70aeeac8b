#include "skin_support.h"

#include "skin/png_control.h"

namespace skintest {

void Pump(DWORD ms) {
  const DWORD start = GetTickCount();
  do {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    Sleep(5);
  } while (GetTickCount() - start < ms);
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start >= timeoutMs) return done();
    Pump(10);
  }
  return true;
}

uint32_t Pattern(int x, int y) {
  return (static_cast<uint32_t>(x * 7 & 0xFF) << 16) | (static_cast<uint32_t>(y * 5 & 0xFF) << 8) |
         0x60;
}

namespace {

const char kPatternClass[] = "SkinTestPattern";
const char kButtonClass[] = "SkinTestButton";
WNDPROC g_system_button = nullptr;

LRESULT CALLBACK PatternProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<PatternWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (message == WM_NCCREATE) {
    self = static_cast<PatternWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  if (self) {
    if (self->onMessage) self->onMessage(message);
    self->seen.push_back({hwnd, message, wParam, lParam});
  }
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      RECT c;
      GetClientRect(hwnd, &c);
      const int w = c.right, h = c.bottom;
      std::vector<uint32_t> pixels(static_cast<size_t>(w) * h);
      for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) pixels[static_cast<size_t>(y) * w + x] = Pattern(x, y);
      BITMAPINFO info{};
      info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
      info.bmiHeader.biWidth = w;
      info.bmiHeader.biHeight = -h;
      info.bmiHeader.biPlanes = 1;
      info.bmiHeader.biBitCount = 32;
      SetDIBitsToDevice(dc, 0, 0, w, h, 0, 0, 0, h, pixels.data(), &info, DIB_RGB_COLORS);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
      return PatternWindow::kColorAnswer;
    default:
      return DefWindowProcA(hwnd, message, wParam, lParam);
  }
}

LRESULT CALLBACK RecordingButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  ButtonLog().push_back({hwnd, message, wParam, setup::DrawStateOf(hwnd)});
  return CallWindowProcA(g_system_button, hwnd, message, wParam, lParam);
}

void RegisterClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = PatternProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.lpszClassName = kPatternClass;
  RegisterClassExA(&wc);

  WNDCLASSEXA button{};
  button.cbSize = sizeof button;
  GetClassInfoExA(nullptr, "BUTTON", &button);
  g_system_button = button.lpfnWndProc;
  button.cbSize = sizeof button;
  button.lpfnWndProc = RecordingButtonProc;
  button.hInstance = GetModuleHandleA(nullptr);
  button.lpszClassName = kButtonClass;
  RegisterClassExA(&button);
}

}  // namespace

PatternWindow::PatternWindow(int x, int y, int width, int height) {
  RegisterClasses();
  hwnd_ = CreateWindowExA(0, kPatternClass, "skin test", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, x,
                          y, width, height, nullptr, nullptr, GetModuleHandleA(nullptr), this);
}

PatternWindow::~PatternWindow() {
  if (IsWindow(hwnd_)) {
    onMessage = nullptr;
    DestroyWindow(hwnd_);
  }
  Pump(20);
}

WNDPROC PatternWindow::Procedure() {
  return PatternProc;
}

HWND CreateRecordingButton(HWND parent, int x, int y, int id) {
  RegisterClasses();
  return CreateWindowExA(0, kButtonClass, "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, x,
                         y, 24, 24, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         GetModuleHandleA(nullptr), nullptr);
}

WNDPROC RecordingButtonProcedure() {
  return RecordingButtonProc;
}

std::vector<ButtonSeen>& ButtonLog() {
  static std::vector<ButtonSeen> log;
  return log;
}

std::vector<uint32_t> ReadClient(HWND window, int x, int y, int width, int height) {
  std::vector<uint32_t> out(static_cast<size_t>(width) * height, 0);
  HDC source = GetDC(window);
  HDC memory = CreateCompatibleDC(source);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, source, x, y, SRCCOPY);
  GdiFlush();
  const uint32_t* p = static_cast<const uint32_t*>(bits);
  for (size_t i = 0; i < out.size(); ++i) out[i] = p[i] & 0xFFFFFF;
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(window, source);
  return out;
}

namespace {
BOOL CALLBACK CollectOwned(HWND hwnd, LPARAM lParam) {
  auto* data = reinterpret_cast<std::pair<HWND, std::vector<HWND>*>*>(lParam);
  if (GetWindow(hwnd, GW_OWNER) == data->first) data->second->push_back(hwnd);
  return TRUE;
}
BOOL CALLBACK CountWindows(HWND, LPARAM lParam) {
  ++*reinterpret_cast<int*>(lParam);
  return TRUE;
}
}  // namespace

std::vector<HWND> OwnedWindows(HWND owner) {
  std::vector<HWND> found;
  std::pair<HWND, std::vector<HWND>*> data(owner, &found);
  EnumThreadWindows(GetCurrentThreadId(), CollectOwned, reinterpret_cast<LPARAM>(&data));
  return found;
}

int ThreadWindowCount() {
  int n = 0;
  EnumThreadWindows(GetCurrentThreadId(), CountWindows, reinterpret_cast<LPARAM>(&n));
  return n;
}

}  // namespace skintest
