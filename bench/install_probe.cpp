// Drives one install of a running installer and measures it from outside:
//   install_probe PID
// Waits for the wizard of process PID, presses "开始安装", and until page
// "安装完成" shows: every 20 ms asks the wizard's thread to answer a message
// (SendMessageTimeout) and reads the process's peak working set. Prints
// "install_s=S ui_max_latency_ms=M peak_working_set_MB=W", then closes the wizard.
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>

#include "wizard/wizard_form.h"

namespace {

double Now() {
  LARGE_INTEGER f, t;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&t);
  return static_cast<double>(t.QuadPart) / static_cast<double>(f.QuadPart);
}

struct Find {
  DWORD pid;
  HWND found;
};

BOOL CALLBACK FindWizard(HWND hwnd, LPARAM param) {
  Find* f = reinterpret_cast<Find*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(hwnd, &owner);
  char cls[64] = {};
  GetClassNameA(hwnd, cls, sizeof cls);
  if (owner == f->pid && lstrcmpA(cls, "SetupForm") == 0 && IsWindowVisible(hwnd)) {
    f->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

int ControlId(const char* name) {
  const auto& controls = setup::WizardForm().controls;
  for (size_t i = 0; i < controls.size(); ++i)
    if (lstrcmpA(controls[i].name, name) == 0) return 1000 + static_cast<int>(i);
  return 0;
}

HWND Control(HWND parent, int id) {
  if (HWND direct = GetDlgItem(parent, id)) return direct;
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    if (HWND deeper = Control(child, id)) return deeper;
  return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: install_probe PID\n");
    return 2;
  }
  Find find{static_cast<DWORD>(std::strtoul(argv[1], nullptr, 10)), nullptr};
  for (int i = 0; i < 600 && !find.found; ++i) {
    EnumWindows(FindWizard, reinterpret_cast<LPARAM>(&find));
    if (!find.found) Sleep(50);
  }
  if (!find.found) {
    std::printf("no wizard\n");
    return 1;
  }
  HANDLE process =
      OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ | SYNCHRONIZE, FALSE, find.pid);
  HWND install = Control(find.found, ControlId("超级按钮_安装"));
  HWND run = Control(find.found, ControlId("超级按钮_运行"));
  HWND failed = Control(find.found, ControlId("超级按钮_手动安装"));
  Sleep(500);
  const double start = Now();
  PostMessageA(install, BM_CLICK, 0, 0);
  double worst = 0;
  bool done = false;
  while (!done && Now() - start < 600) {
    const double before = Now();
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(find.found, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &ignored);
    const double latency = (Now() - before) * 1000;
    if (latency > worst) worst = latency;
    done = IsWindowVisible(run) || IsWindowVisible(failed);
    if (!done) Sleep(20);
  }
  const double seconds = Now() - start;
  PROCESS_MEMORY_COUNTERS memory{};
  GetProcessMemoryInfo(process, &memory, sizeof memory);
  const bool installed = IsWindowVisible(run) != FALSE;
  PostMessageA(find.found, WM_KEYDOWN, VK_ESCAPE, 0);
  WaitForSingleObject(process, 10000);
  CloseHandle(process);
  if (!installed) {
    std::printf("install failed\n");
    return 1;
  }
  std::printf("install_s=%.3f ui_max_latency_ms=%.1f peak_working_set_MB=%.1f\n", seconds, worst,
              memory.PeakWorkingSetSize / 1048576.0);
  return 0;
}
