// The first half of loading the application's description: completing the
// branding data and telling a branded copy from the unbranded template.
#pragma once

#include <cstdint>

#include "app/installer_state.h"

namespace setup {

// Shown by a copy that carries no agent id.
extern const char kUnbrandedMessage[];

// Puts the built-in default icon in place of a missing one and returns the
// integer value of the agent id text: 0 means the copy is unbranded.
int32_t CompleteBranding(InstallerState& state);

}  // namespace setup
