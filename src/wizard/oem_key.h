// OEM.key: the agent id in encoded form, followed by nine characters of the
// MD5 digest of the build's tag text.
#pragma once

#include "base/text.h"

namespace setup {

// The text for an agent id and the tag's digest as 32 hexadecimal digits:
// each byte of the id XOR 0x10 as two upper-case hexadecimal digits, then
// characters 3 to 11 of the digest in upper case (nothing when it is empty).
Text EncodeOemKeyWith(const Text& agentIdText, const Text& tagDigestHex);

// The MD5 digest of `text` as 32 lower-case hexadecimal digits through the
// CryptoAPI; empty when any of its calls fails (Windows only).
Text Md5Hex(const Text& text);

// EncodeOemKeyWith(agentIdText, Md5Hex(tag)) (Windows only).
Text EncodeOemKey(const Text& agentIdText, const Text& tag);

}  // namespace setup
