// What the installed program finds beside it (OEM.key, logo.ico), its desktop
// shortcut, and the run button.
#include <windows.h>
#include <shellapi.h>

#include "app/installer_state.h"
#include "base/file_io.h"
#include "setup_config.h"
#include "wizard/oem_key.h"
#include "wizard/shortcut.h"
#include "wizard/wizard.h"

namespace setup {

void ProvisionInstall() {
  const InstallerState& state = State();
  WriteWholeFile(state.install_folder + "OEM.key",
                 BytesFromText(EncodeOemKey(state.agent_id_text, SETUP_OEM_TAG)));
  WriteWholeFile(state.install_folder + "logo.ico", state.icon_bytes);
  CreateDesktopShortcut(state.app_info.agent_app.app_name, state.target_path, "",
                        state.install_folder + "logo.ico", 0, "", "");
}

namespace {

void OnRun() {
  ShellExecuteA(nullptr, nullptr, State().target_path.c_str(), nullptr, "", SW_SHOWNORMAL);
  Wizard().Close();
}

}  // namespace

void RegisterProvisioningHandlers(ui::Form& form) {
  form.OnClick("超级按钮_运行", OnRun);
}

}  // namespace setup
