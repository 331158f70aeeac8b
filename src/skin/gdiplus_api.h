// The GDI+ flat interface (version 1), as the skinning code draws with it.
// Only the C functions are used; the C++ wrapper classes of the header are not.
#pragma once

#include <windows.h>
#include <objidl.h>

#include <gdiplus.h>

namespace setup {

using Gdiplus::GpBitmap;
using Gdiplus::GpGraphics;
using Gdiplus::GpImage;
using Gdiplus::GpPen;
using Gdiplus::GpStatus;

}  // namespace setup
