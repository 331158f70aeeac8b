// The install run: the install button, the download thread, the progress
// display and the end of the download.
#include <windows.h>
#include <dbghelp.h>
#include <shlwapi.h>

#include "app/installer_state.h"
#include "app/message_box.h"
#include "net/download.h"
#include "wizard/program_download.h"
#include "wizard/progress.h"
#include "wizard/wizard.h"
#include "wizard/wizard_form.h"

namespace setup {

namespace {

const char kStatus[] = "透明标签_安装中";
const char kBar[] = "进度条1";
const char kPages[] = "选择夹1";
const char kFeedbackLabel[] = "标签2";

ProgressMailbox g_progress;
bool g_started = false;

// The download thread reaches the window only through posted messages, so it
// never waits for the window's thread.
void OnChunk(void*, int32_t contentLength, int32_t bytesSoFar, int32_t, int32_t) {
  if (g_progress.Store(contentLength, bytesSoFar))
    Wizard().RaiseFeedback(kFeedbackLabel, contentLength, bytesSoFar);
}

// The program is written beside the target, resumed when the transfer breaks
// off, and moved into place only when whole and matching the announced digest.
// The reason of a failure is not shown: the failure page offers the manual way.
DWORD WINAPI InstallWorker(void*) {
  Wizard().PostToWindow(kPostWorkerStarted, 0, 0);
  const InstallerState& state = State();
  const ProgramDownload run = DownloadProgram(
      SystemInternet(), SystemDownloadFiles(), SystemProgramFiles(), state.app_info.soft_down_url,
      state.target_path, state.app_info.soft_sha256, OnChunk, nullptr);
  // Every file is closed by now: the window's thread may provision and run it.
  Wizard().PostToWindow(kPostWorkerFinished, run.ok() ? 1 : 0, 0);
  return run.ok() ? 1 : 0;
}

void ShowProgress(int32_t contentLength, int32_t bytesSoFar) {
  ui::Form& w = Wizard();
  w.SetPosition(kBar, StoredPosition(ProgressPermille(contentLength, bytesSoFar)));
  w.SetText(kStatus, ProgressText(w.Position(kBar)));
}

void OnProgressEvent(int32_t, int32_t) {
  int32_t contentLength = 0, bytesSoFar = 0;
  if (g_progress.Take(&contentLength, &bytesSoFar)) ShowProgress(contentLength, bytesSoFar);
}

void OnWorkerStarted(WPARAM, LPARAM) {
  Wizard().SetText(kStatus, kDownloadingText);
}

// The download has ended: page 2 once the program is in place and
// provisioned, page 3 otherwise; never left on page 1.
void OnWorkerFinished(WPARAM complete, LPARAM) {
  OnProgressEvent(0, 0);  // the last report, if it is still waiting
  if (complete) {
    ProvisionInstall();
    Wizard().SetCurrentPage(kPages, kPageDone);
  } else {
    Wizard().SetCurrentPage(kPages, kPageFailed);
  }
}

void OnInstall() {
  if (g_started) return;  // one download per run
  ui::Form& w = Wizard();
  InstallerState& state = State();
  Text folder = w.GetText("编辑框_安装文件夹");
  if (!EndsWithChar(folder, '\\')) {
    folder += "\\";
    w.SetText("编辑框_安装文件夹", folder);
  }
  state.install_folder = folder;  // the box now holds the same text
  MakeSureDirectoryPathExists(folder.c_str());
  if (PathIsDirectoryA(folder.c_str()) != FILE_ATTRIBUTE_DIRECTORY) {
    WizardMessage(
        "请确认所选的安装位置是否合法，程序无法在该位置安装\r\n“" + state.install_folder + "”",
        kCaptionNotice, MB_ICONINFORMATION | MB_TOPMOST);
    return;
  }
  state.target_path = state.install_folder + state.app_info.agent_app.app_name + ".exe";
  w.SetCurrentPage(kPages, kPageInstalling);
  HANDLE thread = CreateThread(nullptr, 0, InstallWorker, nullptr, 0, nullptr);
  if (!thread) {
    w.SetCurrentPage(kPages, kPageFailed);
    return;
  }
  g_started = true;
  CloseHandle(thread);  // never joined: the process may end while it runs
}

}  // namespace

void RegisterInstallRunHandlers(ui::Form& form) {
  form.OnClick("超级按钮_安装", OnInstall);
  form.OnFeedback(kFeedbackLabel, OnProgressEvent);
  form.OnPosted(kPostWorkerStarted, OnWorkerStarted);
  form.OnPosted(kPostWorkerFinished, OnWorkerFinished);
}

}  // namespace setup
