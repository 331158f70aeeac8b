#include "base/text.h"

#include <climits>

namespace setup {

Bytes ReadRun(const Bytes& data, int64_t start, int64_t length) {
  if (length <= 0) return {};
  if (start < 1) start = 1;
  const int64_t size = static_cast<int64_t>(data.size());
  if (start > size) return {};
  const int64_t available = size - start + 1;
  const int64_t n = length < available ? length : available;
  return Bytes(data.begin() + (start - 1), data.begin() + (start - 1 + n));
}

Bytes LastBytes(const Bytes& data, int64_t count) {
  if (count <= 0) return {};
  const int64_t size = static_cast<int64_t>(data.size());
  if (count >= size) return data;
  return Bytes(data.end() - count, data.end());
}

int32_t ReadInt32(const Bytes& data, int64_t start) {
  const Bytes run = ReadRun(data, start, 4);
  uint32_t value = 0;
  for (size_t i = 0; i < run.size(); ++i) value |= static_cast<uint32_t>(run[i]) << (8 * i);
  return static_cast<int32_t>(value);
}

void AppendInt32(Bytes& out, int32_t value) {
  const uint32_t v = static_cast<uint32_t>(value);
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

Text TextFromBytes(const Bytes& bytes) {
  size_t n = 0;
  while (n < bytes.size() && bytes[n] != 0) ++n;
  return Text(bytes.begin(), bytes.begin() + n);
}

Bytes BytesFromText(const Text& text) {
  return Bytes(text.begin(), text.end());
}

namespace {

// Reads one character at `i` as its ASCII form: full-width forms (A3 xx) map
// to xx - 0x80 and the ideographic blank to ' '. Sets `width` to 1 or 2.
int AsciiFormAt(const Text& t, size_t i, size_t* width) {
  const unsigned char b = static_cast<unsigned char>(t[i]);
  *width = 1;
  if (!IsLeadByte(b)) return b;
  if (i + 1 >= t.size()) return -1;
  *width = 2;
  const unsigned char trail = static_cast<unsigned char>(t[i + 1]);
  if (b == 0xA3 && trail >= 0xA1 && trail <= 0xFE) return trail - 0x80;
  if (b == 0xA1 && trail == 0xA1) return ' ';
  return -1;
}

bool IsBlank(int c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

inline unsigned char FoldAscii(unsigned char b) {
  return (b >= 'A' && b <= 'Z') ? static_cast<unsigned char>(b + 32) : b;
}

}  // namespace

int32_t TextToInt(const Text& text) {
  size_t i = 0, w = 0;
  int c = 0;
  while (i < text.size() && IsBlank(c = AsciiFormAt(text, i, &w))) i += w;
  bool negative = false;
  if (i < text.size() && (c == '+' || c == '-')) {
    negative = c == '-';
    i += w;
  }
  int64_t value = 0;
  while (i < text.size()) {
    c = AsciiFormAt(text, i, &w);
    if (c < '0' || c > '9') break;
    if (value <= INT32_MAX) value = value * 10 + (c - '0');
    i += w;
  }
  if (negative) value = -value;
  if (value > INT32_MAX) return INT32_MAX;
  if (value < INT32_MIN) return INT32_MIN;
  return static_cast<int32_t>(value);
}

namespace {

// Applies `fold` to single-byte characters only.
template <typename Fold>
Text MapSingleBytes(const Text& text, Fold fold) {
  Text out = text;
  for (size_t i = 0; i < out.size(); ++i) {
    const unsigned char b = static_cast<unsigned char>(out[i]);
    if (IsLeadByte(b)) {
      ++i;  // the trail byte stays as it is
    } else {
      out[i] = static_cast<char>(fold(b));
    }
  }
  return out;
}

// Compares the needle with the haystack at `at`; folding never touches a trail byte.
bool MatchesAt(const Text& haystack, size_t at, const Text& needle, bool ignoreCase) {
  for (size_t k = 0; k < needle.size(); ++k) {
    unsigned char a = static_cast<unsigned char>(haystack[at + k]);
    unsigned char b = static_cast<unsigned char>(needle[k]);
    if (IsLeadByte(b)) {
      if (a != b || k + 1 >= needle.size() || haystack[at + k + 1] != needle[k + 1]) return false;
      ++k;
      continue;
    }
    if (ignoreCase) {
      a = FoldAscii(a);
      b = FoldAscii(b);
    }
    if (a != b) return false;
  }
  return true;
}

}  // namespace

Text AsciiLower(const Text& text) {
  return MapSingleBytes(text, FoldAscii);
}

Text AsciiUpper(const Text& text) {
  return MapSingleBytes(text, [](unsigned char b) {
    return (b >= 'a' && b <= 'z') ? static_cast<unsigned char>(b - 32) : b;
  });
}

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

size_t FindText(const Text& haystack, const Text& needle, size_t from, bool ignoreCase) {
  const size_t n = haystack.size(), m = needle.size();
  size_t i = 0;
  while (i < n || (i == n && m == 0)) {
    if (i >= from) {
      if (m == 0) return i;
      if (n - i < m) return Text::npos;
      if (MatchesAt(haystack, i, needle, ignoreCase)) return i;
    }
    if (i == n) break;
    i += IsLeadByte(static_cast<unsigned char>(haystack[i])) ? 2 : 1;
  }
  return Text::npos;
}

Text ReplaceAll(const Text& text, const Text& from, const Text& to, bool ignoreCase) {
  if (from.empty()) return text;
  Text out;
  size_t pos = 0;
  for (;;) {
    const size_t hit = FindText(text, from, pos, ignoreCase);
    if (hit == Text::npos) break;
    out.append(text, pos, hit - pos);
    out += to;
    pos = hit + from.size();
  }
  out.append(text, pos, Text::npos);
  return out;
}

bool EndsWithChar(const Text& text, char ch) {
  size_t last = Text::npos;
  for (size_t i = 0; i < text.size(); i += IsLeadByte(static_cast<unsigned char>(text[i])) ? 2 : 1)
    last = i;
  return last != Text::npos && last == text.size() - 1 && text[last] == ch;
}

Text DecimalText(int64_t value) {
  char buf[24];
  char* p = buf + sizeof buf;
  uint64_t u = value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
  do {
    *--p = static_cast<char>('0' + u % 10);
    u /= 10;
  } while (u);
  if (value < 0) *--p = '-';
  return Text(p, buf + sizeof buf - p);
}

}  // namespace setup
