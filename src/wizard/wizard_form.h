// The wizard window's form: layout, stacking, fonts and colours of every control.
#pragma once

#include "wizard/ui/form.h"

namespace setup {

// Page indexes of the page container.
enum WizardPage { kPageInstall = 0, kPageInstalling = 1, kPageDone = 2, kPageFailed = 3 };

// Colours of the form (COLORREF 0x00BBGGRR).
constexpr uint32_t kBlue = 0xFF8800;     // RGB 0,136,255
constexpr uint32_t kBlueHot = 0xEA9D41;  // RGB 65,157,234
constexpr uint32_t kGreyed = 0x808080;   // the install button while the licence is not accepted
constexpr uint32_t kFrameGrey = 0xC0C0C0;
constexpr uint32_t kStatusGrey = 0x606060;
constexpr uint32_t kWhite = 0xFFFFFF;

// The licence agreement shown in the licence panel (code page 936, CR LF).
const char* LicenceText();

const ui::FormLayout& WizardForm();

}  // namespace setup
