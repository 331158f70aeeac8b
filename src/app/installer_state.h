// The one program-wide record, created before any other code of the program
// runs and released by the exit routine.
#pragma once

#include <cstdint>

#include "base/text.h"
#include "net/app_info.h"

namespace setup {

struct InstallerState {
  // Branding data, from the trailer of the program's own file.
  Text agent_id_text;
  Bytes icon_bytes;
  // Arguments of the app-info query.
  Text api_origin;
  int32_t app_id = 0;
  Text secret_key;
  int32_t agent_id = 0;
  // The application's description.
  AppInfo app_info;
  // Chosen by the wizard: the folder (ends with "\") and the installed executable.
  Text install_folder;
  Text target_path;
};

// Creates the state with every field empty or 0.
void InitInstallerState();
// Releases every text and buffer of the state; safe to call twice.
void ReleaseInstallerState();
// The state; InitInstallerState must have run.
InstallerState& State();

}  // namespace setup
