#include "app/startup.h"

#include <windows.h>

#include <cstdlib>

#include "app/branding.h"
#include "app/branding_trailer.h"
#include "app/installer_state.h"
#include "app/message_box.h"
#include "app/message_loop.h"
#include "base/file_io.h"
#include "base/file_name.h"
#include "net/app_info_query.h"
#include "setup_config.h"
#include "wizard/wizard.h"
#include "proc/running_copies.h"
#include "skin/graphics_startup.h"

namespace setup {

namespace {

// The program's own file: the folder of the running module, "\", its file name.
Text OwnExecutablePath() {
  Text path(MAX_PATH, '\0');
  for (;;) {
    const DWORD n = GetModuleFileNameA(nullptr, &path[0], static_cast<DWORD>(path.size()));
    if (n == 0) return Text();
    if (n < path.size()) {
      path.resize(n);
      break;
    }
    path.resize(path.size() * 2);
  }
  const size_t slash = path.find_last_of('\\');
  if (slash == Text::npos) return path;
  return path.substr(0, slash) + "\\" + path.substr(slash + 1);
}

void ExitRoutine() {
  ReleaseInstallerState();
  ReleaseFrameDimensionTime();
}

}  // namespace

void ReadBrandingTrailer() {
  const BrandingData data = ParseBrandingTrailer(ReadWholeFile(OwnExecutablePath()));
  State().agent_id_text = data.agent_id_text;
  State().icon_bytes = data.icon_bytes;
}

bool LoadAppInfo() {
  const int32_t agent_id = CompleteBranding(State());
  if (agent_id == 0) {
    ShowMessage(kUnbrandedMessage, kCaptionNotice, MB_OK | MB_ICONINFORMATION);
    return false;
  }
  Text content;  // the server's message on a refusal; not shown
  if (QueryAppInfo(SystemInternet(), SETUP_API_ORIGIN, SETUP_APP_ID, SETUP_SECRET_KEY, agent_id,
                   &content) != 1)
    return false;
  // The name becomes a folder, an executable and a shortcut on this machine:
  // a name that is no plain file name is refused like a refused query.
  return IsPlainFileName(State().app_info.agent_app.app_name);
}

const char kRunningCopiesQuestion[] = "发现软件正在运行中，请问是否关闭软件立即安装？";

void RunStartup() {
  std::vector<int32_t> running;
  ReadBrandingTrailer();
  if (!LoadAppInfo()) return;
  const int32_t n = FindRunningCopies(running);
  if (n > 0) {
    if (ShowMessage(kRunningCopiesQuestion, kCaptionWizard, MB_YESNO | MB_ICONQUESTION) != IDYES)
      return;  // the copies keep running and no wizard opens
    for (int32_t i = 0; i < n; ++i) EndProcess(running[i]);
  }
  OpenWizard();
}

int ProgramEntry() {
  InitInstallerState();
  std::atexit(ExitRoutine);
  StartLoadDialogModule();
  StartImageButtonModule();
  RunStartup();
  RunMessageLoop();
  return 0;
}

}  // namespace setup

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  return setup::ProgramEntry();
}
