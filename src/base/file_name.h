// Whether a text can serve as one component of a Windows path.
#pragma once

#include "base/text.h"

namespace setup {

// The longest name accepted: "C:\" + name + "\" + name + ".exe" must stay
// within the 260 characters of a Windows path.
constexpr size_t kMaxPlainNameBytes = 120;

// True for a plain file-name component in code page 936: not empty, no
// \ / : * ? " < > | and no control byte (checked per character, so the trail
// byte of a double-byte character never counts), not "." or "..", not ending
// with a dot or blank, not a reserved device name (CON, PRN, AUX, NUL, COM1-9,
// LPT1-9, with or without an extension), and not longer than kMaxPlainNameBytes.
bool IsPlainFileName(const Text& name);

}  // namespace setup
