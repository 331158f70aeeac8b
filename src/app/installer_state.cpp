#include "app/installer_state.h"

namespace setup {

namespace {
InstallerState* g_state = nullptr;
}

void InitInstallerState() {
  delete g_state;
  g_state = new InstallerState();
}

void ReleaseInstallerState() {
  delete g_state;
  g_state = nullptr;
}

InstallerState& State() {
  return *g_state;
}

}  // namespace setup
