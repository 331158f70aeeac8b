// Finds the windows and message boxes of other processes, reads their texts and
// presses their buttons, the way UI automation does on Windows.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace uidriver {

struct WindowInfo {
  HWND hwnd = nullptr;
  DWORD pid = 0;
  int id = 0;  // control id (child windows)
  std::string cls;
  std::string text;  // ANSI (code page 936)
  bool visible = false;
  bool enabled = false;
  RECT rect{};  // screen coordinates
};

// Top-level windows, optionally of one process only (pid 0: all).
std::vector<WindowInfo> TopLevelWindows(DWORD pid = 0);
// Direct and deeper children of a window, in Z order.
std::vector<WindowInfo> ChildWindows(HWND parent);
WindowInfo Describe(HWND hwnd);

struct Match {
  DWORD pid = 0;
  std::string cls;      // empty: any
  std::string caption;  // empty: any
  bool visibleOnly = true;
  bool Accepts(const WindowInfo& w) const;
};

// Polls until a matching top-level window exists; null after `timeoutMs`.
HWND WaitForWindow(const Match& match, DWORD timeoutMs);
// Polls until no matching top-level window exists.
bool WaitForNoWindow(const Match& match, DWORD timeoutMs);

// The text of a window or control (through WM_GETTEXT, with a timeout).
std::string TextOf(HWND hwnd);
// The child control with that id (searched at any depth), or null.
HWND ControlById(HWND parent, int id);
// The message text of a standard message box.
std::string MessageBoxText(HWND box);
// Ids of the push buttons of a dialog, in Z order.
std::vector<int> ButtonIds(HWND dialog);
// Presses a button of a dialog as a user would (BM_CLICK, posted).
bool PressButton(HWND dialog, int id);

// Real input, as a user gives it: the pointer moves to the middle of the
// control and the left button goes down and up; keys go to the foreground window.
bool ClickControl(HWND control);
bool MovePointerTo(HWND control);
bool PressKey(HWND window, WORD virtualKey);

// The check state of a check box (BST_*), the position of a progress bar.
int CheckState(HWND button);
int ProgressPosition(HWND bar);

// Converts code-page-936 text to UTF-8 for logs.
std::string ToUtf8(const std::string& ansi);

}  // namespace uidriver
