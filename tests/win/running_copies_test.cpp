// Finding and ending running copies of the application with real processes.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "app/installer_state.h"
#include "child_process.h"
#include "proc/running_copies.h"

namespace wintest {
namespace {

std::string TestFolder() {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path);
  return folder.substr(0, folder.find_last_of('\\') + 1);
}

std::string OwnFileName() {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  const std::string full(path);
  return full.substr(full.find_last_of('\\') + 1);
}

class RunningCopies : public ::testing::Test {
 protected:
  void SetUp() override { setup::InitInstallerState(); }
  void TearDown() override { setup::ReleaseInstallerState(); }

  // Starts the sleeper under `name`, each copy in a folder of its own (names
  // that differ only in letter case are one file on Windows).
  ChildProcess& Start(const std::string& name) {
    const std::string folder = dir_.path() + std::to_string(children_.size()) + "\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string path = MakeCopy(TestFolder() + "sleeper.exe", folder, name);
    children_.push_back(std::make_unique<ChildProcess>(path));
    EXPECT_TRUE(children_.back()->started()) << name;
    return *children_.back();
  }

  std::vector<int32_t> Find(const std::string& appName) {
    setup::State().app_info.agent_app.app_name = appName;
    std::vector<int32_t> list;
    const int32_t count = setup::FindRunningCopies(list);
    EXPECT_EQ(count, static_cast<int32_t>(list.size()));
    std::sort(list.begin(), list.end());
    return list;
  }

  static std::vector<int32_t> Ids(std::initializer_list<const ChildProcess*> children) {
    std::vector<int32_t> ids;
    for (const ChildProcess* c : children) ids.push_back(static_cast<int32_t>(c->pid()));
    std::sort(ids.begin(), ids.end());
    return ids;
  }

  TempFolder dir_;
  std::vector<std::unique_ptr<ChildProcess>> children_;
};

TEST_F(RunningCopies, FindsCopiesInAnyLetterCaseAndNothingElse) {
  ChildProcess& a = Start("CopyApp.exe");
  ChildProcess& b = Start("copyapp.EXE");
  ChildProcess& c = Start("COPYAPP.exe");
  Start("CopyApp2.exe");
  Start("xCopyApp.exe");
  Sleep(300);
  EXPECT_EQ(Find("CopyApp"), Ids({&a, &b, &c}));
  EXPECT_TRUE(Find("NoSuchApp").empty());
  EXPECT_TRUE(Find("").empty()) << "the target \".exe\" matches no ordinary process";
}

TEST_F(RunningCopies, DoubleByteNamesMatchOnlyWhenTheirBytesAreEqual) {
  ChildProcess& chinese = Start(
      "\xD6\xD0\xCE\xC4"
      "App.exe");
  Sleep(300);
  EXPECT_EQ(Find("\xD6\xD0\xCE\xC4"
                 "app"),
            Ids({&chinese}));
  EXPECT_TRUE(Find("\xD6\xD0\xCE\xC5"
                   "App")
                  .empty());
}

TEST_F(RunningCopies, TheOwnProcessIsNeverListed) {
  const std::string own = OwnFileName();
  const std::string appName = own.substr(0, own.size() - 4);
  EXPECT_TRUE(Find(appName).empty());
  ChildProcess& other = Start(own);  // another process under the same name is a copy
  Sleep(300);
  EXPECT_EQ(Find(appName), Ids({&other}));
}

TEST_F(RunningCopies, EndProcessEndsWithExitCodeZero) {
  ChildProcess& a = Start("EndMe.exe");
  ChildProcess& b = Start("endme.exe");
  Sleep(300);
  const std::vector<int32_t> found = Find("EndMe");
  ASSERT_EQ(found.size(), 2u);
  for (int32_t pid : found) EXPECT_TRUE(setup::EndProcess(pid));
  ASSERT_TRUE(a.WaitForExit(10000));
  ASSERT_TRUE(b.WaitForExit(10000));
  EXPECT_EQ(a.ExitCode(), 0u);
  EXPECT_EQ(b.ExitCode(), 0u);
}

TEST_F(RunningCopies, EndingAProcessThatIsGoneFails) {
  const int32_t pid = static_cast<int32_t>(Start("GoneSoon.exe").pid());
  ASSERT_TRUE(setup::EndProcess(pid));
  ASSERT_TRUE(children_.back()->WaitForExit(10000));
  children_.clear();  // no handle keeps the ended process around
  // The system lets go of an ended process's id shortly after its last handle closes.
  for (int i = 0; i < 40; ++i) {
    HANDLE h = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, static_cast<DWORD>(pid));
    if (!h) break;
    CloseHandle(h);
    Sleep(50);
  }
  EXPECT_FALSE(setup::EndProcess(pid));
  EXPECT_FALSE(setup::EndProcess(0x7FFFFFF0));
}

}  // namespace
}  // namespace wintest
