#include "ui_driver.h"

#include <commctrl.h>

namespace uidriver {

namespace {

BOOL CALLBACK CollectTop(HWND hwnd, LPARAM param) {
  reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
  return TRUE;
}

}  // namespace

std::string TextOf(HWND hwnd) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutA(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length))
    return {};
  std::string text(length + 1, '\0');
  DWORD_PTR got = 0;
  SendMessageTimeoutA(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]),
                      SMTO_ABORTIFHUNG, 2000, &got);
  text.resize(got < length ? got : length);
  return text;
}

WindowInfo Describe(HWND hwnd) {
  WindowInfo w;
  w.hwnd = hwnd;
  GetWindowThreadProcessId(hwnd, &w.pid);
  w.id = GetDlgCtrlID(hwnd);
  char cls[256] = {};
  GetClassNameA(hwnd, cls, sizeof cls);
  w.cls = cls;
  w.text = TextOf(hwnd);
  w.visible = IsWindowVisible(hwnd) != FALSE;
  w.enabled = IsWindowEnabled(hwnd) != FALSE;
  GetWindowRect(hwnd, &w.rect);
  return w;
}

std::vector<WindowInfo> TopLevelWindows(DWORD pid) {
  std::vector<HWND> handles;
  EnumWindows(CollectTop, reinterpret_cast<LPARAM>(&handles));
  std::vector<WindowInfo> out;
  for (HWND h : handles) {
    DWORD owner = 0;
    GetWindowThreadProcessId(h, &owner);
    if (pid == 0 || owner == pid) out.push_back(Describe(h));
  }
  return out;
}

std::vector<WindowInfo> ChildWindows(HWND parent) {
  std::vector<HWND> handles;
  EnumChildWindows(parent, CollectTop, reinterpret_cast<LPARAM>(&handles));
  std::vector<WindowInfo> out;
  for (HWND h : handles) out.push_back(Describe(h));
  return out;
}

bool Match::Accepts(const WindowInfo& w) const {
  if (visibleOnly && !w.visible) return false;
  if (!cls.empty() && w.cls != cls) return false;
  if (!caption.empty() && w.text != caption) return false;
  return true;
}

HWND WaitForWindow(const Match& match, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    for (const WindowInfo& w : TopLevelWindows(match.pid))
      if (match.Accepts(w)) return w.hwnd;
    if (GetTickCount() - start >= timeoutMs) return nullptr;
    Sleep(50);
  }
}

bool WaitForNoWindow(const Match& match, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    bool any = false;
    for (const WindowInfo& w : TopLevelWindows(match.pid)) any = any || match.Accepts(w);
    if (!any) return true;
    if (GetTickCount() - start >= timeoutMs) return false;
    Sleep(50);
  }
}

HWND ControlById(HWND parent, int id) {
  for (const WindowInfo& w : ChildWindows(parent))
    if (w.id == id) return w.hwnd;
  return nullptr;
}

std::string MessageBoxText(HWND box) {
  HWND text = GetDlgItem(box, 0xFFFF);  // the static control that holds the message
  return text ? TextOf(text) : std::string();
}

std::vector<int> ButtonIds(HWND dialog) {
  std::vector<int> ids;
  for (const WindowInfo& w : ChildWindows(dialog))
    if (w.cls == "Button" && GetParent(w.hwnd) == dialog) ids.push_back(w.id);
  return ids;
}

bool PressButton(HWND dialog, int id) {
  HWND button = ControlById(dialog, id);
  if (!button) return false;
  return PostMessageA(button, BM_CLICK, 0, 0) != FALSE;
}

bool MovePointerTo(HWND control) {
  RECT rc;
  if (!GetWindowRect(control, &rc)) return false;
  HWND top = GetAncestor(control, GA_ROOT);
  SetForegroundWindow(top);
  return SetCursorPos((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2) != FALSE;
}

bool ClickControl(HWND control) {
  if (!MovePointerTo(control)) return false;
  Sleep(50);
  INPUT input[2] = {};
  input[0].type = input[1].type = INPUT_MOUSE;
  input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  input[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  const bool sent = SendInput(2, input, sizeof(INPUT)) == 2;
  Sleep(50);
  return sent;
}

bool PressKey(HWND window, WORD virtualKey) {
  SetForegroundWindow(window);
  Sleep(50);
  INPUT input[2] = {};
  input[0].type = input[1].type = INPUT_KEYBOARD;
  input[0].ki.wVk = input[1].ki.wVk = virtualKey;
  input[1].ki.dwFlags = KEYEVENTF_KEYUP;
  return SendInput(2, input, sizeof(INPUT)) == 2;
}

int CheckState(HWND button) {
  DWORD_PTR state = 0;
  SendMessageTimeoutA(button, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, 2000, &state);
  return static_cast<int>(state);
}

int ProgressPosition(HWND bar) {
  DWORD_PTR position = 0;
  SendMessageTimeoutA(bar, PBM_GETPOS, 0, 0, SMTO_ABORTIFHUNG, 2000, &position);
  return static_cast<int>(position);
}

std::string ToUtf8(const std::string& ansi) {
  if (ansi.empty()) return {};
  const int n =
      MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
  std::wstring wide(n, L'\0');
  MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), &wide[0], n);
  const int m = WideCharToMultiByte(CP_UTF8, 0, wide.data(), n, nullptr, 0, nullptr, nullptr);
  std::string out(m, '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), n, &out[0], m, nullptr, nullptr);
  return out;
}

}  // namespace uidriver
