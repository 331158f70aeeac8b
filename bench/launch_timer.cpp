// Time from process start to its first visible window of a class:
//   launch_timer CLASS EXE   prints "ms=N" and ends the process.
#include <windows.h>

#include <cstdio>

#include "bench_util.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: launch_timer CLASS EXE\n");
    return 2;
  }
  LARGE_INTEGER f, t0, t1;
  QueryPerformanceFrequency(&f);
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  QueryPerformanceCounter(&t0);
  if (!CreateProcessA(argv[2], nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    std::printf("cannot start\n");
    return 1;
  }
  bool found = false;
  for (int i = 0; i < 30000 && !found; ++i) {
    found = bench::VisibleWindowOf(pi.dwProcessId, argv[1]) != nullptr;
    if (!found) Sleep(1);
  }
  QueryPerformanceCounter(&t1);
  TerminateProcess(pi.hProcess, 0);
  WaitForSingleObject(pi.hProcess, 5000);
  CloseHandle(pi.hProcess);
  CloseHandle(pi.hThread);
  if (!found) {
    std::printf("no window\n");
    return 1;
  }
  std::printf("ms=%.1f\n", (t1.QuadPart - t0.QuadPart) * 1000.0 / f.QuadPart);
  return 0;
}
