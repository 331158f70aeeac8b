// GUIDs written as text, read without the system's help so that the bytes can
// be checked anywhere.
#pragma once

#include <cstdint>

namespace setup {

// GDI+'s frame dimension "time" (FrameDimensionTime): selecting frame 0 of it
// makes the first frame of an animated image the current one.
extern const char kFrameDimensionTimeText[];

// Parses "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" (hex digits of either case)
// into the 16 bytes of a GUID in memory order: Data1, Data2 and Data3
// little-endian, then the eight bytes of Data4 as written. False, with `out`
// untouched, for any other text.
bool ParseGuidText(const char* text, uint8_t out[16]);

}  // namespace setup
