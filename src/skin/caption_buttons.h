// The wizard window's own close and minimise buttons as image buttons.
#pragma once

#include <windows.h>

namespace setup {

// Turns the two 24 x 24 push buttons of the borderless wizard window into image
// buttons with the caption glyphs, centred (placement kPlaceFit): the close
// button shows the light cross when normal and the dark one on hover, when
// pressed and when disabled; the minimise button likewise with its line. Call
// once from the wizard window's creation handler, after AttachShadow, with the
// two buttons' handles. The buttons keep notifying their parent of clicks as
// before. False when either handle is not a window (that button stays as it is).
bool SkinCaptionButtons(HWND closeButton, HWND minimiseButton);

}  // namespace setup
