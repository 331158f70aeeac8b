// The program's start-up as the user meets it: the unbranded template refuses
// to run with its message; a branded copy does not show it.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "app/branding.h"
#include "app/branding_trailer.h"
#include "app/message_box.h"
#include "base/file_io.h"
#include "brand.h"
#include "child_process.h"
#include "ui_driver.h"

namespace wintest {
namespace {

constexpr DWORD kTimeout = 30000;

TEST(Startup, UnbrandedTemplateShowsItsMessageAndEnds) {
  TempFolder dir;
  ChildProcess setup(MakeCopy(SetupExePath(), dir.path(), "Setup.exe"));
  ASSERT_TRUE(setup.started());

  uidriver::Match match;
  match.pid = setup.pid();
  match.cls = "#32770";
  match.caption = setup::kCaptionNotice;
  HWND box = uidriver::WaitForWindow(match, kTimeout);
  ASSERT_NE(box, nullptr) << "no message box";
  EXPECT_EQ(uidriver::MessageBoxText(box), setup::kUnbrandedMessage);
  EXPECT_EQ(uidriver::ButtonIds(box), std::vector<int>({IDOK})) << "OK only";
  EXPECT_EQ(GetWindow(box, GW_OWNER), nullptr) << "no owner window";
  for (const uidriver::WindowInfo& w : uidriver::TopLevelWindows(setup.pid()))
    if (w.visible) {
      EXPECT_EQ(w.hwnd, box) << "other window: " << w.cls;
    }

  ASSERT_TRUE(uidriver::PressButton(box, IDOK));
  std::vector<std::string> seen;
  ASSERT_TRUE(setup.WaitForExitWatching(kTimeout, &seen)) << "still running after OK";
  for (const std::string& w : seen) EXPECT_NE(w.find("#32770"), std::string::npos) << w;
  EXPECT_EQ(setup.ExitCode(), 0u);
}

TEST(Startup, BrandedCopyDoesNotShowTheUnbrandedMessage) {
  if (!std::getenv("SETUP_TEST_ORIGIN")) GTEST_SKIP() << "no reference server";
  TempFolder dir;
  ChildProcess setup(MakeCopy(SetupExePath(), dir.path(), "Setup.exe", "41159",
                              setup::ReadWholeFile(SETUP_ASSETS_DIR "/agent-sample.ico")));
  ASSERT_TRUE(setup.started());
  uidriver::Match wizard;
  wizard.pid = setup.pid();
  wizard.cls = "SetupForm";
  HWND window = uidriver::WaitForWindow(wizard, kTimeout);
  ASSERT_NE(window, nullptr) << "the wizard opens";
  for (const uidriver::WindowInfo& w : uidriver::TopLevelWindows(setup.pid())) {
    if (w.visible) {
      EXPECT_NE(w.cls, "#32770") << "message box: " << uidriver::ToUtf8(w.text);
    }
  }
  ASSERT_TRUE(uidriver::PressKey(window, VK_ESCAPE));
  ASSERT_TRUE(setup.WaitForExit(kTimeout));
  EXPECT_EQ(setup.ExitCode(), 0u);
}

TEST(Startup, TheBuiltTemplateReadsAsUnbranded) {
  const setup::Bytes file = setup::ReadWholeFile(SetupExePath());
  ASSERT_GT(file.size(), 1024u);
  EXPECT_FALSE(setup::brand::CheckTrailer(file).valid);
  setup::InstallerState state;
  const setup::BrandingData data = setup::ParseBrandingTrailer(file);
  state.agent_id_text = data.agent_id_text;
  state.icon_bytes = data.icon_bytes;
  EXPECT_EQ(setup::CompleteBranding(state), 0);
}

}  // namespace
}  // namespace wintest

namespace wintest {
namespace {

// Start-up against the reference server (the test build asks 127.0.0.1:8731).
class StartupWithServer : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::getenv("SETUP_TEST_ORIGIN")) GTEST_SKIP() << "no reference server";
  }
  std::string Branded(const std::string& agent) {
    return MakeCopy(SetupExePath(), dir_.path(), "Setup-" + agent + ".exe", agent);
  }
  // Starts the sleeper as a running copy of the application.
  ChildProcess* StartCopy(const std::string& name) {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    folder = folder.substr(0, folder.find_last_of('\\') + 1);
    copies_.push_back(
        std::make_unique<ChildProcess>(MakeCopy(folder + "sleeper.exe", dir_.path(), name)));
    Sleep(300);
    return copies_.back().get();
  }
  TempFolder dir_;
  std::vector<std::unique_ptr<ChildProcess>> copies_;
};

TEST_F(StartupWithServer, RefusedOrUnusableRepliesEndQuietly) {
  // 101, 102 refuse; 103 has no data (so no name); 104 is no JSON; 106 to 109
  // name the application with no plain file name; 999 is unknown.
  for (const char* agent : {"101", "102", "103", "104", "106", "107", "108", "109", "999"}) {
    ChildProcess setup(Branded(agent));
    std::vector<std::string> seen;
    ASSERT_TRUE(setup.WaitForExitWatching(30000, &seen)) << agent;
    EXPECT_TRUE(seen.empty()) << agent << ": " << (seen.empty() ? "" : seen[0]);
    EXPECT_EQ(setup.ExitCode(), 0u) << agent;
  }
}

TEST_F(StartupWithServer, RunningCopiesNoLeavesThemRunning) {
  ChildProcess* copy = StartCopy("云听音乐.exe");
  ChildProcess setup(Branded("41159"));
  uidriver::Match match;
  match.pid = setup.pid();
  match.cls = "#32770";
  match.caption = setup::kCaptionWizard;
  HWND box = uidriver::WaitForWindow(match, 30000);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(uidriver::MessageBoxText(box), "发现软件正在运行中，请问是否关闭软件立即安装？");
  EXPECT_EQ(uidriver::ButtonIds(box), std::vector<int>({IDYES, IDNO}));
  EXPECT_EQ(GetWindow(box, GW_OWNER), nullptr);
  ASSERT_TRUE(uidriver::PressButton(box, IDNO));
  std::vector<std::string> seen;
  ASSERT_TRUE(setup.WaitForExitWatching(30000, &seen));
  for (const std::string& w : seen) EXPECT_NE(w.find("#32770"), std::string::npos) << w;
  EXPECT_FALSE(copy->WaitForExit(500)) << "the copy keeps running";
}

TEST_F(StartupWithServer, RunningCopiesYesEndsThem) {
  ChildProcess* first = StartCopy("云听音乐.exe");
  ChildProcess setup(Branded("41159"));
  uidriver::Match match;
  match.pid = setup.pid();
  match.caption = setup::kCaptionWizard;
  match.cls = "#32770";
  HWND box = uidriver::WaitForWindow(match, 30000);
  ASSERT_NE(box, nullptr);
  ASSERT_TRUE(uidriver::PressButton(box, IDYES));
  ASSERT_TRUE(first->WaitForExit(10000));
  EXPECT_EQ(first->ExitCode(), 0u);
  uidriver::Match wizard;
  wizard.pid = setup.pid();
  wizard.cls = "SetupForm";
  EXPECT_NE(uidriver::WaitForWindow(wizard, 30000), nullptr) << "start-up goes on to the wizard";
}

}  // namespace
}  // namespace wintest
