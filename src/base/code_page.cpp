#include "base/code_page.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

namespace setup {

int CharWidthAt(const Text& text, size_t i) {
  const unsigned char b = static_cast<unsigned char>(text[i]);
  if (b <= 0x80) return 1;
  if (b == 0xFF || i + 1 >= text.size()) return 0;
  const unsigned char trail = static_cast<unsigned char>(text[i + 1]);
  return trail >= 0x40 && trail <= 0xFE && trail != 0x7F ? 2 : 0;
}

Text AnsiFromCodePoint(uint32_t codePoint) {
  if (codePoint < 0x80) return Text(1, static_cast<char>(codePoint));
  if (codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF)) return "?";
  char out[8];
#ifdef _WIN32
  wchar_t units[2];
  int count = 1;
  if (codePoint >= 0x10000) {
    const uint32_t v = codePoint - 0x10000;
    units[0] = static_cast<wchar_t>(0xD800 + (v >> 10));
    units[1] = static_cast<wchar_t>(0xDC00 + (v & 0x3FF));
    count = 2;
  } else {
    units[0] = static_cast<wchar_t>(codePoint);
  }
  // No best-fit look-alikes: a character the code page lacks becomes the
  // default character, reported through usedDefault, as iconv reports it.
  BOOL usedDefault = FALSE;
  const int length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, units, count, out,
                                         sizeof out, nullptr, &usedDefault);
  if (length <= 0 || usedDefault) return "?";
  return Text(out, length);
#else
  iconv_t converter = iconv_open("CP936", "UTF-32LE");
  if (converter == reinterpret_cast<iconv_t>(-1)) return "?";
  char in[4];
  for (int i = 0; i < 4; ++i) in[i] = static_cast<char>(codePoint >> (8 * i));
  char* inPos = in;
  size_t inLeft = sizeof in;
  char* outPos = out;
  size_t outLeft = sizeof out;
  const size_t done = iconv(converter, &inPos, &inLeft, &outPos, &outLeft);
  iconv_close(converter);
  if (done == static_cast<size_t>(-1) || inLeft != 0) return "?";
  return Text(out, outPos);
#endif
}

}  // namespace setup
