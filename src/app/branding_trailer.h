// The branding trailer that the branding tool appends to a copy of the
// installer: agent id and icon, found from the end of the file.
//
//   int32 m | m bytes agent id text | int32 v | v bytes icon file | int32 L = 8 + m + v
#pragma once

#include "base/text.h"

namespace setup {

struct BrandingData {
  Text agent_id_text;
  Bytes icon_bytes;
};

// Reads the trailer from the bytes of a whole file. Every read is bounded by
// the data, so any file gives a result: what cannot be read stays empty.
BrandingData ParseBrandingTrailer(const Bytes& file);

// The trailer bytes for an agent id text and an icon file (may be empty).
Bytes BuildBrandingTrailer(const Text& agent_id_text, const Bytes& icon);

// Length of the trailer that ParseBrandingTrailer would cut from `file`,
// including the final length field (L + 4, bounded by the file size).
int64_t TrailerExtent(const Bytes& file);

}  // namespace setup
