// The wizard window: its handlers and the parts of the install that run in it.
#pragma once

#include "base/text.h"
#include "wizard/ui/window_layer.h"

namespace setup {

// Opens the wizard, modeless and without a parent window. False when the
// window cannot be created.
bool OpenWizard();

// The wizard's window and controls (valid once OpenWizard has run).
ui::Form& Wizard();

// Shows a message box owned by the wizard window.
int WizardMessage(const Text& text, const Text& caption, unsigned style);

// Registers the handlers of each part of the wizard.
void RegisterWindowHandlers(ui::Form& form);
void RegisterInstallRunHandlers(ui::Form& form);
void RegisterProvisioningHandlers(ui::Form& form);
void RegisterRecoveryHandlers(ui::Form& form);

// Writes OEM.key and logo.ico into the install folder and creates the desktop shortcut.
void ProvisionInstall();

// Codes of the messages the download thread posts to the window.
enum WizardPost : unsigned {
  kPostWorkerStarted = 1,
  kPostWorkerFinished = 2,
};

}  // namespace setup
