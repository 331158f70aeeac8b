// The reference for the start-up figure: the least a Win32 program does to show a window.
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = instance;
  wc.lpszClassName = "BenchMinWindow";
  RegisterClassA(&wc);
  HWND hwnd = CreateWindowA("BenchMinWindow", "min", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr,
                            nullptr, instance, nullptr);
  ShowWindow(hwnd, show);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
  return 0;
}
