// The PNG images of the wizard's own close and minimise buttons, carried in
// the program's data (drawn by tools/art/make_caption_buttons.py).
#pragma once

#include "base/text.h"

namespace setup {

enum class CaptionImage {
  kCloseLight,     // 11 x 11, white cross: normal state
  kCloseDark,      // 11 x 11, dark grey cross: hover, pressed, disabled
  kMinimiseLight,  // 12 x 13, white line on row 6: normal state
  kMinimiseDark,   // 12 x 13, dark grey line: hover, pressed, disabled
};

// The PNG file's bytes.
Bytes CaptionImageBytes(CaptionImage image);

}  // namespace setup
