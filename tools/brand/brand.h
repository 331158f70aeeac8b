// The branding tool's checks and the branded copy, on bytes in memory.
#pragma once

#include <string>

#include "app/branding_trailer.h"

namespace setup::brand {

// Decimal digits only, a value other than 0, within int32.
bool CheckAgentId(const Text& id, std::string* why);

// A Windows icon file: header, entry count and every image inside the file
// (a DIB with a plausible header and enough bytes, or a PNG stream).
bool CheckIcon(const Bytes& ico, std::string* why);

// Offset just past the executable image (section data and certificate table);
// 0 when the bytes are not a PE image.
int64_t ImageEnd(const Bytes& file);

struct TrailerCheck {
  bool valid = false;
  int64_t start = 0;  // offset of the trailer's first byte when valid
  std::string problem;
};

// Whether `file` ends in a well-formed trailer as the branding tool writes it:
// lengths that add up, a valid agent id, an icon that is empty or valid, and
// nothing of it inside the executable image.
TrailerCheck CheckTrailer(const Bytes& file);

// The branded copy of `templ`: its bytes (without its old trailer when
// `replace` is set) followed by the trailer. False, with the reason, when the
// template is not an executable, already carries a trailer and `replace` is
// not set, or the id or icon is invalid.
bool Brand(const Bytes& templ, const Text& agent_id, const Bytes& icon, bool replace, Bytes* out,
           std::string* why);

}  // namespace setup::brand
