// Real windows for the skinning tests: a top-level window that paints a known
// pattern, a push button that records what reaches the system's button code,
// a message pump, and pixels read back from a window's surface.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <vector>

namespace skintest {

// Dispatches this thread's messages for `ms` milliseconds.
void Pump(DWORD ms);
// Dispatches messages until `done` holds or `timeoutMs` passes; returns `done()`.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 3000);

// The colour (0x00RRGGBB) the test window paints at client point (x, y).
uint32_t Pattern(int x, int y);

// A message that reached a test window's own procedure.
struct Seen {
  HWND window;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
};

// A borderless top-level window (WS_POPUP) painting Pattern. Its procedure
// records every message in `seen` and answers WM_CTLCOLOR* with kColorAnswer.
class PatternWindow {
 public:
  PatternWindow(int x, int y, int width, int height);
  ~PatternWindow();
  PatternWindow(const PatternWindow&) = delete;
  PatternWindow& operator=(const PatternWindow&) = delete;
  HWND hwnd() const { return hwnd_; }
  static WNDPROC Procedure();
  static constexpr LRESULT kColorAnswer = 0x5EED;
  std::vector<Seen> seen;
  // Called from the procedure for every message, before it is recorded.
  std::function<void(UINT)> onMessage;

 private:
  HWND hwnd_ = nullptr;
};

// A 24 x 24 push button of a class derived from the system's "BUTTON", whose
// procedure records each message before handing it to the system's code.
HWND CreateRecordingButton(HWND parent, int x, int y, int id);
WNDPROC RecordingButtonProcedure();
// Messages that reached the system's button code, with the draw state at the time.
struct ButtonSeen {
  HWND button;
  UINT message;
  WPARAM wParam;
  int stateThen;
};
std::vector<ButtonSeen>& ButtonLog();

// Pixels (0x00RRGGBB) of a client rectangle of `window`, read from its DC.
std::vector<uint32_t> ReadClient(HWND window, int x, int y, int width, int height);

// The windows of this thread that `owner` owns.
std::vector<HWND> OwnedWindows(HWND owner);
int ThreadWindowCount();

}  // namespace skintest
