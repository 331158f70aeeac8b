// The icon given to the installed program when the trailer carries none:
// 48, 32, 24 and 16 px at 32 bits per pixel, 17,542 bytes.
#pragma once

#include "base/text.h"

namespace setup {

Bytes DefaultIcon();

}  // namespace setup
