// Byte-string helpers shared by every subsystem. Texts are byte strings in the
// ANSI code page (936 on the target machines); positions count from 1.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace setup {

using Text = std::string;
using Bytes = std::vector<uint8_t>;

// A byte of 0x80 or above starts a double-byte character of code page 936.
inline bool IsLeadByte(unsigned char b) {
  return b >= 0x80;
}

// The run of `length` bytes starting at 1-based `start`, bounded by the data:
// a start before the first byte counts as the first byte, a run past the end
// yields what exists and a negative length yields nothing.
Bytes ReadRun(const Bytes& data, int64_t start, int64_t length);

// The last `count` bytes of `data`; all of it when count exceeds its size,
// nothing when count is zero or negative.
Bytes LastBytes(const Bytes& data, int64_t count);

// Little-endian int32 at 1-based `start`; missing high-order bytes are zero.
int32_t ReadInt32(const Bytes& data, int64_t start);

// Appends `value` as four little-endian bytes.
void AppendInt32(Bytes& out, int32_t value);

// The bytes up to (not including) the first zero byte.
Text TextFromBytes(const Bytes& bytes);
Bytes BytesFromText(const Text& text);

// Text to integer: skips leading blanks, takes an optional sign and the decimal
// digits up to the first other character. Full-width forms of code page 936
// (lead byte 0xA3, and the ideographic blank A1 A1) count as their ASCII forms.
// No digits gives 0; values beyond int32 saturate, so digits never read as 0.
int32_t TextToInt(const Text& text);

// Lower/upper-casing of ASCII letters only; both bytes of a double-byte
// character stay as they are.
Text AsciiLower(const Text& text);
Text AsciiUpper(const Text& text);

// The value of a hexadecimal digit of either case; -1 for any other byte.
int HexDigitValue(char c);

// Finds `needle` in `haystack` at or after the 0-based offset `from`, never at
// the second byte of a double-byte character. Returns npos when absent; an
// empty needle is found at the first character boundary at or after `from`.
size_t FindText(const Text& haystack, const Text& needle, size_t from = 0, bool ignoreCase = false);
inline bool Contains(const Text& haystack, const Text& needle, bool ignoreCase = false) {
  return FindText(haystack, needle, 0, ignoreCase) != Text::npos;
}

// Replaces every occurrence (character-aligned, left to right) of `from` by `to`.
Text ReplaceAll(const Text& text, const Text& from, const Text& to, bool ignoreCase = false);

// Whether the last character of `text` is the single-byte `ch` (a trail byte
// that happens to equal it does not count).
bool EndsWithChar(const Text& text, char ch);

// Decimal text of a signed integer.
Text DecimalText(int64_t value);

}  // namespace setup
