#include "skin/guid_text.h"

#include <cstring>

#include "base/text.h"

namespace setup {

const char kFrameDimensionTimeText[] = "{6AEDBD6D-3FB5-418A-83A6-7F45229DC872}";

bool ParseGuidText(const char* text, uint8_t out[16]) {
  static const char kShape[] = "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}";
  if (!text || std::strlen(text) != sizeof kShape - 1) return false;
  uint8_t written[16];  // bytes in the order the text gives them
  int n = 0;
  for (size_t i = 0; i < sizeof kShape - 1; i += kShape[i] == 'X' ? 2 : 1) {
    if (kShape[i] != 'X') {
      if (text[i] != kShape[i]) return false;
      continue;
    }
    const int hi = HexDigitValue(text[i]);
    const int lo = HexDigitValue(text[i + 1]);
    if (hi < 0 || lo < 0) return false;
    written[n++] = static_cast<uint8_t>(hi * 16 + lo);
  }
  // Data1, Data2 and Data3 are stored least significant byte first.
  static const int kOrder[16] = {3, 2, 1, 0, 5, 4, 7, 6, 8, 9, 10, 11, 12, 13, 14, 15};
  for (int i = 0; i < 16; ++i) out[i] = written[kOrder[i]];
  return true;
}

}  // namespace setup
