// Starting the program under test and watching what it shows.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "base/text.h"

namespace wintest {

// A started process; ended (if still running) and released on destruction.
class ChildProcess {
 public:
  explicit ChildProcess(const std::string& exe, const std::string& args = "");
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool started() const { return pi_.hProcess != nullptr; }
  DWORD pid() const { return pi_.dwProcessId; }
  HANDLE handle() const { return pi_.hProcess; }
  // Waits for the process to end; false on timeout.
  bool WaitForExit(DWORD timeoutMs);
  DWORD ExitCode() const;
  // Waits for the end while recording every visible top-level window seen.
  bool WaitForExitWatching(DWORD timeoutMs, std::vector<std::string>* windowsSeen);

 private:
  PROCESS_INFORMATION pi_{};
};

// A fresh folder under the temporary folder, removed with its files at the end.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  const std::string& path() const { return path_; }  // ends with "\"
 private:
  std::string path_;
};

// Removes a folder (ending with "\") with everything in it.
void RemoveTree(const std::string& folder);

// Copies the built program into `folder` under `name`, branded when `agentId`
// is not empty; returns the copy's path.
std::string MakeCopy(const std::string& built, const std::string& folder, const std::string& name,
                     const std::string& agentId = "", const setup::Bytes& icon = {});

// The path of the built program under test, from the test's command line.
const std::string& SetupExePath();

}  // namespace wintest
