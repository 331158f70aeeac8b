// The fault matrix: the real installer under Wine against the reference server,
// one row per fault, each with the outcome users must get. Every row also
// checks that the wizard never stays on the progress page, that no truncated
// program is announced as installed, and that nothing is written outside the
// install folder and the desktop. Prints the table; exit status 1 when a row
// failed.
//   fault_matrix SETUP.EXE ROWS...   ROWS: all, or the names of rows
#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "base/file_io.h"
#include "brand.h"
#include "proc/running_copies.h"
#include "ui_driver.h"
#include "wizard/wizard_form.h"

namespace {

using setup::Bytes;
using Text = std::string;

const char kApp[] = "云听音乐";
const char kFolder[] = "C:\\云听音乐\\";
constexpr DWORD kTimeout = 60000;

Text g_setup;

// ---- the machine's files, to find anything written where it should not be ----

bool Under(const Text& path, const Text& folder) {
  return CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, path.c_str(),
                        static_cast<int>(std::min(path.size(), folder.size())), folder.c_str(),
                        static_cast<int>(folder.size())) == CSTR_EQUAL &&
         path.size() >= folder.size();
}

// Lists a folder's files and folders (not the system's own folders, nor what
// links lead elsewhere), at most 16 levels deep.
void ListFiles(const Text& folder, std::set<Text>* out, int depth = 0) {
  if (depth > 16 || Under(folder, "C:\\windows\\") || folder.find("\\AppData\\") != Text::npos)
    return;
  WIN32_FIND_DATAA found;
  HANDLE h = FindFirstFileA((folder + "*").c_str(), &found);
  if (h == INVALID_HANDLE_VALUE) return;
  do {
    const Text name = found.cFileName;
    if (name == "." || name == "..") continue;
    const Text path = folder + name;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      out->insert(path + "\\");
      if (!(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
        ListFiles(path + "\\", out, depth + 1);
    } else {
      out->insert(path);
    }
  } while (FindNextFileA(h, &found));
  FindClose(h);
}

Text Desktop() {
  char path[MAX_PATH] = {};
  SHGetSpecialFolderPathA(nullptr, path, CSIDL_DESKTOPDIRECTORY, FALSE);
  return Text(path) + "\\";
}

// Everything under C:\ but the system's own folders and temporary files.
std::set<Text> Snapshot() {
  std::set<Text> all, kept;
  ListFiles("C:\\", &all);
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  for (const Text& p : all)
    if (!Under(p, "C:\\windows\\") && !Under(p, temp) && !Under(p, "C:\\ProgramData\\") &&
        !Under(p, "C:\\Program Files") && p.find("\\AppData\\") == Text::npos)
      kept.insert(p);
  return kept;
}

// ---- the installer under test ----

void RemoveTree(const Text& folder) {
  std::set<Text> files;
  ListFiles(folder, &files);
  for (auto it = files.rbegin(); it != files.rend(); ++it) {
    if (it->back() == '\\') {
      RemoveDirectoryA(it->c_str());
    } else {
      SetFileAttributesA(it->c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileA(it->c_str());
    }
  }
  RemoveDirectoryA(folder.c_str());
}

void EndCopies() {
  for (const setup::ProcessEntry& e : setup::ProcessSnapshot())
    if (setup::IsCopyOf(e.exeFile, kApp)) setup::EndProcess(static_cast<int32_t>(e.pid));
}

Text CopyFor(const Text& agent, std::function<void(Bytes&)> damage = nullptr) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  Bytes bytes = setup::ReadWholeFile(g_setup), branded;
  std::string why;
  setup::brand::Brand(bytes, agent, {}, false, &branded, &why);
  if (damage) damage(branded);
  const Text path = Text(temp) + "fault-Setup-" + agent + ".exe";
  setup::WriteWholeFile(path, branded);
  return path;
}

class Installer {
 public:
  explicit Installer(const Text& exe) {
    STARTUPINFOA si{};
    si.cb = sizeof si;
    Text command = "\"" + exe + "\"";
    CreateProcessA(exe.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                   &pi_);
  }
  ~Installer() {
    if (pi_.hProcess && WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT)
      TerminateProcess(pi_.hProcess, 9);
    if (pi_.hProcess) {
      WaitForSingleObject(pi_.hProcess, 5000);
      CloseHandle(pi_.hProcess);
      CloseHandle(pi_.hThread);
    }
  }
  DWORD pid() const { return pi_.dwProcessId; }
  bool Ended(DWORD timeout) const {
    return WaitForSingleObject(pi_.hProcess, timeout) == WAIT_OBJECT_0;
  }

  HWND Window(DWORD timeout = kTimeout) {
    uidriver::Match m;
    m.pid = pid();
    m.cls = "SetupForm";
    if (!window_) window_ = uidriver::WaitForWindow(m, timeout);
    return window_;
  }
  HWND MessageBox(DWORD timeout = 3000) const {
    uidriver::Match m;
    m.pid = pid();
    m.cls = "#32770";
    return uidriver::WaitForWindow(m, timeout);
  }
  bool AnyWindowShown() const {
    for (const uidriver::WindowInfo& w : uidriver::TopLevelWindows(pid()))
      if (w.visible && (w.cls == "#32770" || w.cls == "SetupForm")) return true;
    return false;
  }
  HWND Control(const char* name) {
    const int id = setup::ui::ControlId(setup::WizardForm(), name);
    return id ? uidriver::ControlById(Window(), id) : nullptr;
  }
  int Page() {
    static const char* const kMarks[] = {"超级按钮_安装", "进度条1", "超级按钮_运行",
                                         "超级按钮_手动安装"};
    for (int p = 0; p < 4; ++p)
      if (IsWindowVisible(Control(kMarks[p]))) return p;
    return -1;
  }
  // Waits while the progress page shows; returns the page it ends on, and the
  // distinct progress positions seen meanwhile.
  int PageAfterDownload(std::set<int>* positions = nullptr) {
    const DWORD start = GetTickCount();
    int page = Page();
    while ((page == 1 || page == 0) && GetTickCount() - start < kTimeout) {
      if (positions) positions->insert(uidriver::ProgressPosition(Control("进度条1")));
      Sleep(50);
      page = Page();
    }
    return page;
  }
  void Press(const char* name) {
    PostMessageA(Control(name), BM_CLICK, 0, 0);
    Sleep(200);
  }

 private:
  PROCESS_INFORMATION pi_{};
  HWND window_ = nullptr;
};

// ---- rows ----

struct Outcome {
  Text observed;
  bool ok;
};

const char* PageName(int page) {
  static const char* const kNames[] = {"安装 (page 0)", "安装中 (page 1)", "安装完成 (page 2)",
                                       "安装失败 (page 3)"};
  return page >= 0 && page < 4 ? kNames[page] : "no wizard";
}

Outcome QuietEnd(const Text& agent) {
  Installer setup(CopyFor(agent));
  const DWORD start = GetTickCount();
  bool shown = false;
  while (!setup.Ended(50) && GetTickCount() - start < kTimeout)
    shown = shown || setup.AnyWindowShown();
  if (!setup.Ended(0)) return {"still running", false};
  return {shown ? "a window was shown" : "quiet end", !shown};
}

// Installs with the download of `agent` and expects page `want` (2 with a file of `size`).
// On page 3 no program may be at the target unless `targetExists` (put there
// before), and no partial download is ever left beside it.
Outcome Download(const Text& agent, int want, int64_t size = -1, bool watchProgress = false,
                 bool doubleClick = false, bool targetExists = false) {
  Installer setup(CopyFor(agent));
  if (!setup.Window()) return {"no wizard", false};
  Sleep(300);
  setup.Press("超级按钮_安装");
  if (doubleClick) setup.Press("超级按钮_安装");
  std::set<int> positions;
  const int page = setup.PageAfterDownload(watchProgress ? &positions : nullptr);
  Text observed = PageName(page);
  bool ok = page == want;
  const Text target = Text(kFolder) + kApp + ".exe";
  const int64_t onDisk = setup::ReadableFileSize(target);
  if (page == 2) {
    observed += ", file " + std::to_string(onDisk) + " bytes";
    if (size >= 0 && onDisk != size) ok = false;
  } else if (page == 3 && onDisk >= 0 && !targetExists) {
    observed += ", a program of " + std::to_string(onDisk) + " bytes left at the target";
    ok = false;
  }
  if (setup::ReadableFileSize(target + ".partial") >= 0) {
    observed += ", a partial file left";
    ok = false;
  }
  if (setup.MessageBox(100)) {
    observed += ", a message box";
    ok = false;
  }
  if (watchProgress) {
    observed += ", " + std::to_string(positions.size()) + " progress positions";
    ok = ok && positions.size() >= 3;
  }
  return {observed, ok};
}

Outcome FolderNotCreatable() {
  setup::WriteWholeFile("C:\\fault-a-file", {'x'});
  Installer setup(CopyFor("41159"));
  if (!setup.Window()) return {"no wizard", false};
  SendMessageA(setup.Control("编辑框_安装文件夹"), WM_SETTEXT, 0,
               reinterpret_cast<LPARAM>("C:\\fault-a-file\\sub\\"));
  setup.Press("超级按钮_安装");
  HWND box = setup.MessageBox();
  const Text text = box ? uidriver::MessageBoxText(box) : Text();
  Outcome out{box ? "message “" + text.substr(0, text.find("\r\n")) + "”" : "no message", false};
  out.ok = text.find("程序无法在该位置安装") != Text::npos;
  if (box) uidriver::PressButton(box, IDOK);
  Sleep(300);
  out.ok = out.ok && setup.Page() == 0;
  out.observed += Text(", ") + PageName(setup.Page());
  DeleteFileA("C:\\fault-a-file");
  return out;
}

Outcome TargetLocked() {
  CreateDirectoryA(kFolder, nullptr);
  const Text target = Text(kFolder) + kApp + ".exe";
  HANDLE lock = CreateFileA(target.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            0, nullptr);
  Outcome out = Download("41159", 3, -1, false, false, true);
  CloseHandle(lock);
  return out;
}

// After a download that fails, a manually chosen file is checked against the
// digest: a wrong one is refused with a message, the right one installed.
Outcome ManualDigest() {
  Installer setup(CopyFor("122"));
  if (!setup.Window()) return {"no wizard", false};
  Sleep(300);
  setup.Press("超级按钮_安装");
  const int page = setup.PageAfterDownload();
  if (page != 3) return {PageName(page), false};
  auto choose = [&](const Text& name, const Bytes& bytes) {
    const Text chosen = Text(kFolder) + name;
    setup::WriteWholeFile(chosen, bytes);
    SendMessageA(setup.Control("编辑框_程序文件"), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(chosen.c_str()));
    setup.Press("超级按钮_手动安装");
  };
  choose("wrong.exe", Bytes(4096, 'M'));
  HWND box = setup.MessageBox();
  const Text text = box ? uidriver::MessageBoxText(box) : Text();
  Outcome out{box ? "wrong file: “" + text.substr(0, text.find("，")) + "”" : "no message", false};
  if (box) uidriver::PressButton(box, IDOK);
  Sleep(300);
  const Text target = Text(kFolder) + kApp + ".exe";
  const bool refused =
      text.find("不一致") != Text::npos && setup.Page() == 3 && setup::ReadableFileSize(target) < 0;
  Bytes right(1048576);
  for (size_t i = 0; i < right.size(); ++i) right[i] = static_cast<uint8_t>(i % 251);
  choose("right.exe", right);
  Sleep(500);
  const int64_t installed = setup::ReadableFileSize(target);
  out.observed += Text(", right file: ") + PageName(setup.Page()) + ", file " +
                  std::to_string(installed) + " bytes";
  out.ok = refused && setup.Page() == 2 && installed == 1048576;
  return out;
}

Outcome TrailerDamaged() {
  Installer setup(CopyFor("41159", [](Bytes& b) {
    b[b.size() - 4] = 0xF0;  // the length field no longer matches the trailer
    b[b.size() - 1] = 0x7F;
  }));
  HWND box = setup.MessageBox(kTimeout);
  if (!box) return {setup.Ended(0) ? "quiet end" : "no message", false};
  const Text text = uidriver::MessageBoxText(box);
  uidriver::PressButton(box, IDOK);
  const bool ended = setup.Ended(10000);
  return {"message “" + text + "”",
          ended && text == "该安装包为原始安装包，必须贴牌后才可以使用。"};
}

struct Row {
  const char* name;
  const char* fault;
  const char* expected;
  std::function<Outcome()> run;
};

std::vector<Row> Rows() {
  return {
      {"api-down", "API down", "quiet end", [] { return QuietEnd("41159"); }},
      {"api-refuses", "API refuses (code 0 with content)", "quiet end",
       [] { return QuietEnd("101"); }},
      {"not-json", "reply not JSON", "quiet end", [] { return QuietEnd("104"); }},
      {"no-data", "code 1 without \"data\"", "quiet end", [] { return QuietEnd("103"); }},
      {"name-dotdot", "app_name ..\\x", "quiet end", [] { return QuietEnd("106"); }},
      {"name-colon", "app_name a:b", "quiet end", [] { return QuietEnd("107"); }},
      {"name-con", "app_name CON", "quiet end", [] { return QuietEnd("108"); }},
      {"name-empty", "app_name empty", "quiet end", [] { return QuietEnd("109"); }},
      {"404", "download 404", "安装失败 (page 3)", [] { return Download("112", 3); }},
      {"500", "download 500 page", "安装失败 (page 3)", [] { return Download("113", 3); }},
      {"chunked", "no Content-Length", "安装完成 (page 2), whole file",
       [] { return Download("114", 2, 1048576); }},
      {"empty", "empty body", "安装失败 (page 3)", [] { return Download("115", 3); }},
      {"cut", "connection cut after every 300,000 bytes", "resumed, 安装完成 (page 2), whole file",
       [] { return Download("111", 2, 1048576); }},
      {"cut-always", "connection cut after every 100,000 bytes", "安装失败 (page 3), nothing left",
       [] { return Download("122", 3); }},
      {"resume", "cut once, then resumed with a range", "安装完成 (page 2), whole file",
       [] { return Download("120", 2, 1048576); }},
      {"range-ignored", "cut once, then the range ignored", "安装完成 (page 2), whole file",
       [] { return Download("121", 2, 1048576); }},
      {"digest", "download does not match soft_sha256", "安装失败 (page 3), nothing left",
       [] { return Download("119", 3); }},
      {"manual-digest", "manual install with soft_sha256",
       "wrong file: message, stays on page 3; right file: 安装完成 (page 2)", ManualDigest},
      {"trickle", "slow trickle", "progress moves, 安装完成 (page 2)",
       [] { return Download("110", 2, 1048576, true); }},
      {"folder", "install folder not creatable", "message, stays on page 0", FolderNotCreatable},
      {"locked", "target file locked by another program", "安装失败 (page 3)", TargetLocked},
      {"double-click", "second click on 开始安装", "one download, 安装完成 (page 2)",
       [] { return Download("41160", 2, 3145728, false, true); }},
      {"trailer", "trailer damaged", "the unbranded message", TrailerDamaged},
  };
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: fault_matrix SETUP.EXE all|ROW...\n");
    return 2;
  }
  g_setup = argv[1];
  std::set<Text> wanted(argv + 2, argv + argc);
  int failed = 0, ran = 0;
  std::printf("| fault | expected | observed | result |\n|---|---|---|---|\n");
  for (const Row& row : Rows()) {
    const bool all =
        wanted.count("all") || (wanted.count("all-but-api-down") && Text(row.name) != "api-down");
    if (!all && !wanted.count(row.name)) continue;
    EndCopies();
    RemoveTree(kFolder);
    DeleteFileA((Desktop() + kApp + ".lnk").c_str());
    const std::set<Text> before = Snapshot();
    Outcome out = row.run();
    EndCopies();
    for (const Text& p : Snapshot()) {
      if (before.count(p) || Under(p, kFolder) || Under(p, Desktop())) continue;
      out.observed += ", wrote " + uidriver::ToUtf8(p);
      out.ok = false;
    }
    ++ran;
    failed += out.ok ? 0 : 1;
    std::printf("| %s | %s | %s | %s |\n", uidriver::ToUtf8(row.fault).c_str(),
                uidriver::ToUtf8(row.expected).c_str(), uidriver::ToUtf8(out.observed).c_str(),
                out.ok ? "ok" : "FAILED");
    std::fflush(stdout);
  }
  RemoveTree(kFolder);
  std::printf("fault_rows=%d failed=%d\n", ran, failed);
  return failed == 0 && ran > 0 ? 0 : 1;
}
