#include "wizard/oem_key.h"

namespace setup {

namespace {
const char kHexDigits[] = "0123456789ABCDEF";
}

Text EncodeOemKeyWith(const Text& agentIdText, const Text& tagDigestHex) {
  Text out;
  for (unsigned char b : agentIdText) {
    const unsigned char c =
        static_cast<unsigned char>((b ^ 3600) & 0xFF);  // 3600 = 0xE10: b XOR 0x10
    out += kHexDigits[c >> 4];
    out += kHexDigits[c & 15];
  }
  if (tagDigestHex.size() > 2) out += AsciiUpper(tagDigestHex.substr(2, 9));
  return out;
}

}  // namespace setup
