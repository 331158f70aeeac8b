// The installer from end to end, as a user meets it: a branded copy asks the
// reference server, shows the wizard, downloads, provisions and runs the
// program, or falls back to the manual page. Driven with real clicks and keys.
#include <gtest/gtest.h>

#include <objbase.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include <cstdlib>
#include <memory>

#include "app/default_icon.h"
#include "app/message_box.h"
#include "base/file_io.h"
#include "child_process.h"
#include "proc/running_copies.h"
#include "ui_driver.h"
#include "wizard/oem_key.h"
#include "wizard/wizard_form.h"

namespace wintest {
namespace {

using setup::Text;

const char kApp[] = "云听音乐";
const char kFolder[] = "C:\\云听音乐\\";
constexpr DWORD kTimeout = 30000;

std::string Desktop() {
  char path[MAX_PATH] = {};
  SHGetSpecialFolderPathA(nullptr, path, CSIDL_DESKTOPDIRECTORY, FALSE);
  return std::string(path) + "\\";
}

std::string BuiltFile(const char* relative) {
  const std::string exe = SetupExePath();  // <build>\src\Setup.exe
  std::string build = exe.substr(0, exe.find_last_of("\\/"));
  build = build.substr(0, build.find_last_of("\\/") + 1);
  return build + relative;
}

void EndProcessesNamed(const std::string& appName) {
  for (const setup::ProcessEntry& e : setup::ProcessSnapshot())
    if (setup::IsCopyOf(e.exeFile, appName)) setup::EndProcess(static_cast<int32_t>(e.pid));
}

// One run of a branded copy, with the installed files of earlier runs removed.
class WizardRun {
 public:
  explicit WizardRun(const std::string& agent, bool withIcon = true) {
    EndProcessesNamed(kApp);
    RemoveTree(kFolder);
    DeleteFileA((Desktop() + kApp + ".lnk").c_str());
    icon_ = withIcon ? setup::ReadWholeFile(SETUP_ASSETS_DIR "/agent-sample.ico") : setup::Bytes();
    setup_ = std::make_unique<ChildProcess>(
        MakeCopy(SetupExePath(), dir_.path(), "Setup.exe", agent, icon_));
    uidriver::Match match;
    match.pid = setup_->pid();
    match.cls = "SetupForm";
    window_ = uidriver::WaitForWindow(match, kTimeout);
    Sleep(300);  // let the first paint settle
  }
  ~WizardRun() { EndProcessesNamed(kApp); }

  HWND window() const { return window_; }
  ChildProcess& process() { return *setup_; }
  const setup::Bytes& icon() const { return icon_; }

  HWND Control(const char* name) const {
    const int id = setup::ui::ControlId(setup::WizardForm(), name);
    EXPECT_NE(id, 0) << "no control " << name;
    return uidriver::ControlById(window_, id);
  }
  void Click(const char* name) {
    ASSERT_TRUE(uidriver::ClickControl(Control(name))) << name;
    Sleep(200);
  }
  Text TextOf(const char* name) const { return uidriver::TextOf(Control(name)); }
  bool Shown(const char* name) const { return IsWindowVisible(Control(name)) != FALSE; }
  bool Enabled(const char* name) const { return IsWindowEnabled(Control(name)) != FALSE; }
  void Type(const char* name, const Text& text) {
    SendMessageA(Control(name), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }

  // The page whose controls show; -1 when none does.
  int Page() const {
    static const char* const kMarks[] = {"超级按钮_安装", "进度条1", "超级按钮_运行",
                                         "超级按钮_手动安装"};
    for (int p = 0; p < 4; ++p)
      if (Shown(kMarks[p])) return p;
    return -1;
  }
  bool WaitForPage(int page, DWORD timeout = kTimeout) const {
    const DWORD start = GetTickCount();
    while (Page() != page) {
      if (GetTickCount() - start > timeout) return false;
      Sleep(50);
    }
    return true;
  }
  HWND WaitForMessage(const char* caption, DWORD timeout = 10000) const {
    uidriver::Match match;
    match.pid = setup_->pid();
    match.cls = "#32770";
    match.caption = caption;
    return uidriver::WaitForWindow(match, timeout);
  }
  bool AnyMessageBox() const {
    for (const uidriver::WindowInfo& w : uidriver::TopLevelWindows(setup_->pid()))
      if (w.visible && w.cls == "#32770") return true;
    return false;
  }

 private:
  TempFolder dir_;
  setup::Bytes icon_;
  std::unique_ptr<ChildProcess> setup_;
  HWND window_ = nullptr;
};

class Wizard : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!std::getenv("SETUP_TEST_ORIGIN")) GTEST_SKIP() << "no reference server";
    CoInitialize(nullptr);
  }
  void TearDown() override { CoUninitialize(); }
};

struct Link {
  std::string path, workingFolder, icon;
  int iconIndex = -1;
};

Link ReadLink(const std::string& file) {
  Link link;
  IShellLinkA* shell = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              reinterpret_cast<void**>(&shell))))
    return link;
  IPersistFile* persist = nullptr;
  if (SUCCEEDED(shell->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist)))) {
    wchar_t wide[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, file.c_str(), -1, wide, MAX_PATH);
    if (SUCCEEDED(persist->Load(wide, STGM_READ))) {
      char buf[MAX_PATH] = {};
      shell->GetPath(buf, MAX_PATH, nullptr, SLGP_RAWPATH);
      link.path = buf;
      shell->GetWorkingDirectory(buf, MAX_PATH);
      link.workingFolder = buf;
      shell->GetIconLocation(buf, MAX_PATH, &link.iconIndex);
      link.icon = buf;
    }
    persist->Release();
  }
  shell->Release();
  return link;
}

TEST_F(Wizard, StartsOnTheFolderPageAndInstallsRunsAndCloses) {
  WizardRun run("41159");
  ASSERT_NE(run.window(), nullptr);
  EXPECT_EQ(uidriver::TextOf(run.window()), kApp) << "caption";
  EXPECT_EQ(run.TextOf("标题W"), kApp);
  EXPECT_EQ(run.TextOf("编辑框_安装文件夹"), std::string("C:\\") + kApp + "\\");
  EXPECT_EQ(run.Page(), setup::kPageInstall);
  EXPECT_EQ(uidriver::CheckState(run.Control("选择框_许可协议")), BST_CHECKED);
  EXPECT_TRUE(run.Enabled("超级按钮_安装"));
  RECT rc;
  GetWindowRect(run.window(), &rc);
  EXPECT_EQ(rc.right - rc.left, 600);
  EXPECT_EQ(rc.bottom - rc.top, 430);

  run.Click("超级按钮_安装");
  ASSERT_TRUE(run.WaitForPage(setup::kPageDone));
  EXPECT_EQ(run.TextOf("透明标签_安装中"), "正在下载请稍后...100%");
  EXPECT_FALSE(run.AnyMessageBox());

  const std::string folder = kFolder;
  EXPECT_EQ(setup::ReadWholeFile(folder + kApp + ".exe"),
            setup::ReadWholeFile(BuiltFile("files\\YunTing.exe")));
  EXPECT_EQ(setup::TextFromBytes(setup::ReadWholeFile(folder + "OEM.key")),
            setup::EncodeOemKeyWith("41159", setup::Md5Hex("qvz")));
  EXPECT_EQ(setup::TextFromBytes(setup::ReadWholeFile(folder + "OEM.key")), "242121252926E543267");
  EXPECT_EQ(setup::ReadWholeFile(folder + "logo.ico"), run.icon())
      << "the trailer's icon, byte for byte";
  const Link link = ReadLink(Desktop() + kApp + ".lnk");
  EXPECT_EQ(link.path, folder + kApp + ".exe");
  EXPECT_EQ(link.workingFolder, folder);
  EXPECT_EQ(link.icon, folder + "logo.ico");
  EXPECT_EQ(link.iconIndex, 0);

  run.Click("超级按钮_运行");
  ASSERT_TRUE(run.process().WaitForExit(kTimeout)) << "the wizard closes";
  EXPECT_EQ(run.process().ExitCode(), 0u);
  bool started = false;
  for (int i = 0; i < 100 && !started; ++i, Sleep(100))
    for (const setup::ProcessEntry& e : setup::ProcessSnapshot())
      started = started || setup::IsCopyOf(e.exeFile, kApp);
  EXPECT_TRUE(started) << "the installed program runs";
}

TEST_F(Wizard, WithoutTheTrailersIconTheDefaultIconIsInstalled) {
  WizardRun run("41160", false);
  ASSERT_NE(run.window(), nullptr);
  run.Click("超级按钮_安装");
  ASSERT_TRUE(run.WaitForPage(setup::kPageDone));
  EXPECT_EQ(setup::ReadWholeFile(std::string(kFolder) + "logo.ico"), setup::DefaultIcon());
  EXPECT_EQ(setup::ReadWholeFile(std::string(kFolder) + kApp + ".exe").size(), 3145728u);
}

TEST_F(Wizard, ADownloadThatFailsOffersTheManualWay) {
  WizardRun run("112");  // the address answers 404
  ASSERT_NE(run.window(), nullptr);
  run.Click("超级按钮_安装");
  ASSERT_TRUE(run.WaitForPage(setup::kPageFailed));
  EXPECT_FALSE(run.AnyMessageBox()) << "no message box for a failed download";

  // The hint text is still in the box: not a readable file.
  run.Click("超级按钮_手动安装");
  HWND box = run.WaitForMessage(setup::kCaptionError);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(uidriver::MessageBoxText(box), "请检查输入的程序文件路径是否正确。");
  uidriver::PressButton(box, IDOK);
  Sleep(300);
  run.Type("编辑框_程序文件", "");
  run.Click("超级按钮_手动安装");
  box = run.WaitForMessage(setup::kCaptionError);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(uidriver::MessageBoxText(box), "请将下载的程序文件的路径输入到指定编辑框内。");
  uidriver::PressButton(box, IDOK);
  Sleep(300);
  EXPECT_EQ(run.Page(), setup::kPageFailed);

  run.Type("编辑框_程序文件", BuiltFile("files\\YunTing.exe"));
  run.Click("超级按钮_手动安装");
  ASSERT_TRUE(run.WaitForPage(setup::kPageDone, 10000));
  EXPECT_EQ(setup::ReadWholeFile(std::string(kFolder) + kApp + ".exe"),
            setup::ReadWholeFile(BuiltFile("files\\YunTing.exe")));
  EXPECT_FALSE(setup::ReadWholeFile(std::string(kFolder) + "OEM.key").empty());
  EXPECT_FALSE(ReadLink(Desktop() + kApp + ".lnk").path.empty());
}

TEST_F(Wizard, AManualCopyThatCannotBeWrittenSaysSoAndStays) {
  WizardRun run("112");
  ASSERT_NE(run.window(), nullptr);
  run.Click("超级按钮_安装");
  ASSERT_TRUE(run.WaitForPage(setup::kPageFailed));
  const std::string target = std::string(kFolder) + kApp + ".exe";
  ASSERT_TRUE(CreateDirectoryA(target.c_str(), nullptr)) << "a folder where the program should go";
  run.Type("编辑框_程序文件", BuiltFile("files\\YunTing.exe"));
  run.Click("超级按钮_手动安装");
  HWND box = run.WaitForMessage(setup::kCaptionError);
  ASSERT_NE(box, nullptr);
  EXPECT_NE(uidriver::MessageBoxText(box).find("“" + target + "”"), std::string::npos)
      << "names the target";
  uidriver::PressButton(box, IDOK);
  Sleep(300);
  EXPECT_EQ(run.Page(), setup::kPageFailed) << "no completed install is announced";
  EXPECT_TRUE(setup::ReadWholeFile(std::string(kFolder) + "OEM.key").empty());
  RemoveDirectoryA(target.c_str());
}

TEST_F(Wizard, TheFileChooserCanBeCancelled) {
  WizardRun run("112");
  ASSERT_NE(run.window(), nullptr);
  run.Click("超级按钮_安装");
  ASSERT_TRUE(run.WaitForPage(setup::kPageFailed));
  const Text before = run.TextOf("编辑框_程序文件");
  run.Click("超级按钮_选择");
  uidriver::Match match;
  match.pid = run.process().pid();
  match.cls = "#32770";
  match.caption = "请选择所需程序文件";
  HWND chooser = uidriver::WaitForWindow(match, 10000);
  ASSERT_NE(chooser, nullptr) << "the open-file dialog with its title";
  EXPECT_EQ(GetWindow(chooser, GW_OWNER), run.window());
  uidriver::PressButton(chooser, IDCANCEL);
  Sleep(500);
  EXPECT_EQ(run.TextOf("编辑框_程序文件"), before);
}

TEST_F(Wizard, TheFolderBoxTakesNoTyping) {
  WizardRun run("41159");
  ASSERT_NE(run.window(), nullptr);
  const Text before = run.TextOf("编辑框_安装文件夹");
  run.Click("编辑框_安装文件夹");
  uidriver::PressKey(run.window(), 'X');
  uidriver::PressKey(run.window(), VK_BACK);
  Sleep(200);
  EXPECT_EQ(run.TextOf("编辑框_安装文件夹"), before);
}

TEST_F(Wizard, DownloadsThatEndBadlyNeverStayOnTheProgressPage) {
  struct Case {
    const char* agent;
    int page;
  } cases[] = {
      {"114", setup::kPageDone},    // no Content-Length: whole all the same
      {"115", setup::kPageFailed},  // an empty body
      {"111", setup::kPageDone},    // cut every 300,000 bytes: whole after three resumes
      {"122", setup::kPageFailed},  // cut every 100,000 bytes: given up after three resumes
      {"113", setup::kPageFailed},  // a server error page
  };
  for (const Case& c : cases) {
    WizardRun run(c.agent);
    ASSERT_NE(run.window(), nullptr) << c.agent;
    run.Click("超级按钮_安装");
    EXPECT_TRUE(run.WaitForPage(c.page)) << c.agent << " ended on page " << run.Page();
  }
}

TEST_F(Wizard, AFolderThatIsAFileIsRefused) {
  WizardRun run("41159");
  ASSERT_NE(run.window(), nullptr);
  const std::string file = "C:\\setup-test-not-a-folder";
  ASSERT_TRUE(setup::WriteWholeFile(file, {'x'}));
  run.Type("编辑框_安装文件夹", file);  // as if browsed to
  run.Click("超级按钮_安装");
  HWND box = run.WaitForMessage(setup::kCaptionNotice);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(uidriver::MessageBoxText(box),
            "请确认所选的安装位置是否合法，程序无法在该位置安装\r\n“" + file + "\\”");
  EXPECT_EQ(run.TextOf("编辑框_安装文件夹"), file + "\\");
  uidriver::PressButton(box, IDOK);
  Sleep(300);
  EXPECT_EQ(run.Page(), setup::kPageInstall);
  DeleteFileA(file.c_str());
}

TEST_F(Wizard, TheLicenceBoxEnablesTheInstallButton) {
  WizardRun run("41159");
  ASSERT_NE(run.window(), nullptr);
  run.Click("选择框_许可协议");
  EXPECT_EQ(uidriver::CheckState(run.Control("选择框_许可协议")), BST_UNCHECKED);
  EXPECT_FALSE(run.Enabled("超级按钮_安装"));
  run.Click("超级按钮_安装");
  EXPECT_EQ(run.Page(), setup::kPageInstall) << "a disabled button starts nothing";
  run.Click("选择框_许可协议");
  EXPECT_TRUE(run.Enabled("超级按钮_安装"));
}

TEST_F(Wizard, TheLicencePanelCoversBannerAndPages) {
  WizardRun run("41159");
  ASSERT_NE(run.window(), nullptr);
  RECT window, panel;
  GetWindowRect(run.window(), &window);
  run.Click("透明标签_用户协议");
  GetWindowRect(run.Control("外形框2"), &panel);
  EXPECT_TRUE(run.Shown("外形框2"));
  EXPECT_EQ(panel.left, window.left);
  EXPECT_EQ(panel.top, window.top);
  EXPECT_TRUE(run.Shown("编辑框1"));
  EXPECT_NE(run.TextOf("编辑框1").find("用户使用许可协议"), Text::npos);
  EXPECT_TRUE(run.Shown("标题W") && run.Shown("图片框_关闭按钮") && run.Shown("图片框_最小化按钮"));
  run.Click("超级按钮_返回");
  EXPECT_FALSE(run.Shown("外形框2"));
  run.Click("透明标签_用户协议");
  GetWindowRect(run.Control("外形框2"), &panel);
  EXPECT_TRUE(run.Shown("外形框2"));
  EXPECT_EQ(panel.left, window.left);
}

TEST_F(Wizard, EscClosesWithoutAQuestion) {
  WizardRun run("41159");
  ASSERT_NE(run.window(), nullptr);
  ASSERT_TRUE(uidriver::PressKey(run.window(), VK_ESCAPE));
  std::vector<std::string> seen;
  ASSERT_TRUE(run.process().WaitForExitWatching(kTimeout, &seen));
  for (const std::string& w : seen) EXPECT_EQ(w.find("#32770"), std::string::npos) << w;
  EXPECT_EQ(run.process().ExitCode(), 0u);
}

TEST_F(Wizard, TheCloseButtonAsksAndCancelKeepsTheWizard) {
  WizardRun run("41159");
  ASSERT_NE(run.window(), nullptr);
  run.Click("图片框_关闭按钮");
  HWND box = run.WaitForMessage(setup::kCaptionNotice);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(uidriver::MessageBoxText(box), "你真的要退出安装程序吗？");
  EXPECT_EQ(uidriver::ButtonIds(box), std::vector<int>({IDOK, IDCANCEL}));
  EXPECT_EQ(GetWindow(box, GW_OWNER), run.window());
  uidriver::PressButton(box, IDCANCEL);
  EXPECT_FALSE(run.process().WaitForExit(1000));
  EXPECT_TRUE(IsWindow(run.window()));
  run.Click("图片框_关闭按钮");
  box = run.WaitForMessage(setup::kCaptionNotice);
  ASSERT_NE(box, nullptr);
  uidriver::PressButton(box, IDOK);
  ASSERT_TRUE(run.process().WaitForExit(kTimeout));
  EXPECT_EQ(run.process().ExitCode(), 0u);
}

TEST_F(Wizard, MinimiseAndBrowseCancel) {
  WizardRun run("41159");
  ASSERT_NE(run.window(), nullptr);
  run.Type("编辑框_安装文件夹", "D:\\elsewhere\\");
  run.Click("超级按钮_浏览");
  uidriver::Match match;
  match.pid = run.process().pid();
  match.cls = "#32770";
  HWND browser = uidriver::WaitForWindow(match, 10000);
  ASSERT_NE(browser, nullptr);
  uidriver::PressButton(browser, IDCANCEL);
  Sleep(500);
  EXPECT_EQ(run.TextOf("编辑框_安装文件夹"), std::string("C:\\") + kApp + "\\");
  run.Click("图片框_最小化按钮");
  Sleep(300);
  EXPECT_TRUE(IsIconic(run.window()));
}

TEST_F(Wizard, TheBannerMovesTheWindowAndThePagesDoNot) {
  WizardRun run("41159");
  ASSERT_NE(run.window(), nullptr);
  auto drag = [&](int x, int y) {
    RECT before;
    GetWindowRect(run.window(), &before);
    SetForegroundWindow(run.window());
    SetCursorPos(before.left + x, before.top + y);
    INPUT input[3] = {};
    input[0].type = input[1].type = input[2].type = INPUT_MOUSE;
    input[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    SendInput(1, &input[0], sizeof(INPUT));
    Sleep(100);
    input[1].mi.dwFlags = MOUSEEVENTF_MOVE;
    input[1].mi.dx = 40;
    input[1].mi.dy = 30;
    SendInput(1, &input[1], sizeof(INPUT));
    Sleep(100);
    input[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(1, &input[2], sizeof(INPUT));
    Sleep(300);
    RECT after;
    GetWindowRect(run.window(), &after);
    return after.left != before.left || after.top != before.top;
  };
  EXPECT_TRUE(drag(300, 150)) << "the banner";
  EXPECT_FALSE(drag(300, 420)) << "an empty part of a page";
}

}  // namespace
}  // namespace wintest
