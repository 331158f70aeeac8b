// The manual recovery page: the download address in the browser, a file the
// user downloaded by hand, and installing it.
#include <windows.h>
#include <shellapi.h>

#include "app/installer_state.h"
#include "app/message_box.h"
#include "base/file_io.h"
#include "base/sha256.h"
#include "wizard/program_download.h"
#include "wizard/wizard.h"
#include "wizard/wizard_form.h"

namespace setup {

namespace {

const char kPathBox[] = "编辑框_程序文件";
const char kChosenFileMismatchMessage[] =
    "所选的程序文件与官方发布的文件不一致，可能已损坏或被改动，请重新下载后再试。";

void OnDownloadLink() {
  ShellExecuteA(nullptr, "open", State().app_info.soft_down_url.c_str(), "", "", SW_SHOWNORMAL);
}

Text g_lastChosen;  // the open-file dialog starts from the file chosen last time

void OnChoose() {
  Text path = g_lastChosen;
  if (ui::ChooseFile(Wizard().window(), "请选择所需程序文件", "程序文件（*.exe）|*.exe", &path)) {
    g_lastChosen = path;
    Wizard().SetText(kPathBox, path);
  }
}

// Whether two paths name one file (the same volume and file index).
bool SameFile(const Text& a, const Text& b) {
  BY_HANDLE_FILE_INFORMATION ia{}, ib{};
  auto info = [](const Text& path, BY_HANDLE_FILE_INFORMATION* out) {
    HANDLE file =
        CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    const bool ok = GetFileInformationByHandle(file, out) != FALSE;
    CloseHandle(file);
    return ok;
  };
  return info(a, &ia) && info(b, &ib) && ia.dwVolumeSerialNumber == ib.dwVolumeSerialNumber &&
         ia.nFileIndexHigh == ib.nFileIndexHigh && ia.nFileIndexLow == ib.nFileIndexLow;
}

// Copies the chosen file beside the target, checks it and moves it into
// place, so the target never holds a half-copied or unverified program. A file
// already at the target is only checked.
ProgramFailure PlaceChosenFile(const Text& source, const Text& target, const Text& digest) {
  if (SameFile(source, target))
    return digest.empty() || SameSha256(Sha256OfFile(target), digest)
               ? ProgramFailure::kNone
               : ProgramFailure::kDigestMismatch;
  const Text partial = PartialPath(target);
  if (SameFile(source, partial)) return ProgramFailure::kCannotPlace;  // never delete the choice
  // Copied by the system, not read whole into memory.
  if (!CopyFileA(source.c_str(), partial.c_str(), FALSE)) {
    DeleteFileA(partial.c_str());
    return ProgramFailure::kCannotPlace;
  }
  return PlaceVerified(SystemProgramFiles(), partial, target, digest);
}

void OnManualInstall() {
  const Text source = Wizard().GetText(kPathBox);
  if (source.empty()) {
    WizardMessage("请将下载的程序文件的路径输入到指定编辑框内。", kCaptionError,
                  MB_ICONINFORMATION);
    return;
  }
  if (ReadableFileSize(source) <= 0) {
    WizardMessage("请检查输入的程序文件路径是否正确。", kCaptionError, MB_ICONINFORMATION);
    return;
  }
  const InstallerState& state = State();
  const Text& target = state.target_path;
  switch (PlaceChosenFile(source, target, state.app_info.soft_sha256)) {
    case ProgramFailure::kNone:
      ProvisionInstall();
      Wizard().SetCurrentPage("选择夹1", kPageDone);
      return;
    case ProgramFailure::kDigestMismatch:
      WizardMessage(kChosenFileMismatchMessage, kCaptionError, MB_ICONINFORMATION);
      return;
    default:
      WizardMessage("程序文件无法写入安装位置，请关闭正在运行的程序后重试：\r\n“" + target + "”",
                    kCaptionError, MB_ICONINFORMATION);
      return;
  }
}

}  // namespace

void RegisterRecoveryHandlers(ui::Form& form) {
  form.OnLeftButtonDown("透明标签_安装中3", OnDownloadLink);
  form.OnClick("超级按钮_选择", OnChoose);
  form.OnClick("超级按钮_手动安装", OnManualInstall);
}

}  // namespace setup
