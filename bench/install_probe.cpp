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

#include "bench_util.h"
#include "wizard/wizard_form.h"

namespace {

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
  const DWORD pid = static_cast<DWORD>(std::strtoul(argv[1], nullptr, 10));
  HWND wizard = nullptr;
  for (int i = 0; i < 600 && !wizard; ++i) {
    wizard = bench::VisibleWindowOf(pid, "SetupForm");
    if (!wizard) Sleep(50);
  }
  if (!wizard) {
    std::printf("no wizard\n");
    return 1;
  }
  HANDLE process =
      OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ | SYNCHRONIZE, FALSE, pid);
  HWND install = Control(wizard, setup::ui::ControlId(setup::WizardForm(), "超级按钮_安装"));
  HWND run = Control(wizard, setup::ui::ControlId(setup::WizardForm(), "超级按钮_运行"));
  HWND failed = Control(wizard, setup::ui::ControlId(setup::WizardForm(), "超级按钮_手动安装"));
  Sleep(500);
  const double start = bench::Now();
  PostMessageA(install, BM_CLICK, 0, 0);
  double worst = 0;
  bool done = false;
  while (!done && bench::Now() - start < 600) {
    const double before = bench::Now();
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(wizard, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &ignored);
    const double latency = (bench::Now() - before) * 1000;
    if (latency > worst) worst = latency;
    done = IsWindowVisible(run) || IsWindowVisible(failed);
    if (!done) Sleep(20);
  }
  const double seconds = bench::Now() - start;
  PROCESS_MEMORY_COUNTERS memory{};
  GetProcessMemoryInfo(process, &memory, sizeof memory);
  const bool installed = IsWindowVisible(run) != FALSE;
  PostMessageA(wizard, WM_KEYDOWN, VK_ESCAPE, 0);
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
