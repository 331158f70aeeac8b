#include "child_process.h"

#include <gtest/gtest.h>

#include "base/file_io.h"
#include "brand.h"
#include "ui_driver.h"

namespace wintest {

ChildProcess::ChildProcess(const std::string& exe, const std::string& args) {
  STARTUPINFOA si{};
  si.cb = sizeof si;
  std::string command = "\"" + exe + "\"" + (args.empty() ? "" : " " + args);
  if (!CreateProcessA(exe.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                      &pi_))
    pi_ = PROCESS_INFORMATION{};
}

ChildProcess::~ChildProcess() {
  if (!pi_.hProcess) return;
  if (WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT) {
    TerminateProcess(pi_.hProcess, 99);
    WaitForSingleObject(pi_.hProcess, 5000);
  }
  CloseHandle(pi_.hProcess);
  CloseHandle(pi_.hThread);
}

bool ChildProcess::WaitForExit(DWORD timeoutMs) {
  return pi_.hProcess && WaitForSingleObject(pi_.hProcess, timeoutMs) == WAIT_OBJECT_0;
}

DWORD ChildProcess::ExitCode() const {
  DWORD code = STILL_ACTIVE;
  GetExitCodeProcess(pi_.hProcess, &code);
  return code;
}

bool ChildProcess::WaitForExitWatching(DWORD timeoutMs, std::vector<std::string>* seen) {
  const DWORD start = GetTickCount();
  for (;;) {
    for (const uidriver::WindowInfo& w : uidriver::TopLevelWindows(pid()))
      if (w.visible) seen->push_back(w.cls + " \"" + uidriver::ToUtf8(w.text) + "\"");
    if (WaitForExit(50)) return true;
    if (GetTickCount() - start >= timeoutMs) return false;
  }
}

TempFolder::TempFolder() {
  char base[MAX_PATH];
  GetTempPathA(MAX_PATH, base);
  static int counter = 0;
  path_ = std::string(base) + "setup-test-" + std::to_string(GetCurrentProcessId()) + "-" +
          std::to_string(++counter) + "\\";
  CreateDirectoryA(path_.c_str(), nullptr);
}

void RemoveTree(const std::string& folder) {
  WIN32_FIND_DATAA found;
  HANDLE h = FindFirstFileA((folder + "*").c_str(), &found);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(folder + name + "\\");
      } else {
        DeleteFileA((folder + name).c_str());
      }
    } while (FindNextFileA(h, &found));
    FindClose(h);
  }
  RemoveDirectoryA(folder.c_str());
}

TempFolder::~TempFolder() {
  RemoveTree(path_);
}

std::string MakeCopy(const std::string& built, const std::string& folder, const std::string& name,
                     const std::string& agentId, const setup::Bytes& icon) {
  setup::Bytes bytes = setup::ReadWholeFile(built);
  EXPECT_FALSE(bytes.empty()) << "cannot read " << built;
  if (!agentId.empty()) {
    setup::Bytes branded;
    std::string why;
    EXPECT_TRUE(setup::brand::Brand(bytes, agentId, icon, false, &branded, &why)) << why;
    bytes.swap(branded);
  }
  const std::string path = folder + name;
  EXPECT_TRUE(setup::WriteWholeFile(path, bytes)) << path;
  return path;
}

namespace {
std::string g_setup_exe;
}

const std::string& SetupExePath() {
  return g_setup_exe;
}

}  // namespace wintest

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  if (argc > 1) wintest::g_setup_exe = argv[1];
  return RUN_ALL_TESTS();
}
