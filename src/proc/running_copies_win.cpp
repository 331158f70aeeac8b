#include <windows.h>
#include <tlhelp32.h>

#include "app/installer_state.h"
#include "proc/running_copies.h"

namespace setup {

std::vector<ProcessEntry> ProcessSnapshot() {
  std::vector<ProcessEntry> entries;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPALL, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return entries;
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry)) {
    entry.szExeFile[sizeof entry.szExeFile - 1] = '\0';
    entries.push_back({entry.th32ProcessID, Text(entry.szExeFile)});
  }
  CloseHandle(snapshot);
  return entries;
}

int32_t FindRunningCopies(std::vector<int32_t>& list) {
  return AppendRunningCopies(ProcessSnapshot(), State().app_info.agent_app.app_name,
                             GetCurrentProcessId(), list);
}

bool EndProcess(int32_t pid) {
  HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, static_cast<DWORD>(pid));
  if (!process) return false;
  const bool ended = TerminateProcess(process, 0) == TRUE;
  CloseHandle(process);
  return ended;
}

}  // namespace setup
