// Conversion of Unicode characters into texts of the ANSI code page (936 on
// the target machines), for the few places where a Unicode character reaches
// the program in a form other than code-page bytes (JSON's \u escapes).
#pragma once

#include <cstdint>

#include "base/text.h"

namespace setup {

// Width of the character of code page 936 that starts at byte `i` (below the
// end): 1 for a single byte (ASCII and 0x80), 2 for a lead byte 0x81..0xFE with
// a trail byte 0x40..0xFE other than 0x7F, and 0 for a byte that starts no
// character (a lead byte without a valid trail byte, or 0xFF). A trail byte may
// be '[', ']' or '\', so scanners step over whole characters.
int CharWidthAt(const Text& text, size_t i);

// The code-page bytes of one Unicode code point. ASCII maps to itself (0 to a
// zero byte); a character the code page lacks, a lone surrogate or a value
// beyond U+10FFFF gives "?". Windows converts through the ANSI code page, the
// host through iconv's "CP936", so both sides give the same bytes.
Text AnsiFromCodePoint(uint32_t codePoint);

}  // namespace setup
