// The program's start-up as the user meets it: the unbranded template refuses
// to run with its message; a branded copy does not show it.
#include <gtest/gtest.h>

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
  TempFolder dir;
  ChildProcess setup(MakeCopy(SetupExePath(), dir.path(), "Setup.exe", "41159",
                              setup::ReadWholeFile(SETUP_ASSETS_DIR "/agent-sample.ico")));
  ASSERT_TRUE(setup.started());
  std::vector<std::string> seen;
  ASSERT_TRUE(setup.WaitForExitWatching(kTimeout, &seen));
  for (const std::string& w : seen) ADD_FAILURE() << "window shown: " << w;
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
