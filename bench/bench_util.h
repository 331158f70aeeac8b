// What the benchmark programs share: a clock and finding a process's window.
#pragma once

#include <windows.h>

namespace bench {

// Seconds from an arbitrary start, at the performance counter's resolution.
inline double Now() {
  LARGE_INTEGER f, t;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) / static_cast<double>(f.QuadPart);
}

struct WindowSearch {
  DWORD pid;
  const char* cls;
  HWND found;
};

inline BOOL CALLBACK MatchWindow(HWND hwnd, LPARAM param) {
  WindowSearch* f = reinterpret_cast<WindowSearch*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(hwnd, &owner);
  char name[64] = {};
  GetClassNameA(hwnd, name, sizeof name);
  if (owner != f->pid || lstrcmpA(name, f->cls) != 0 || !IsWindowVisible(hwnd)) return TRUE;
  f->found = hwnd;
  return FALSE;
}

// The first visible top-level window of process `pid` with window class `cls`, or null.
inline HWND VisibleWindowOf(DWORD pid, const char* cls) {
  WindowSearch search{pid, cls, nullptr};
  EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

}  // namespace bench
