// SHA-256 (FIPS 180-4), fed in pieces; used to check a downloaded program
// against the digest the vendor's server announces.
#pragma once

#include <cstddef>
#include <cstdint>

#include "base/text.h"

namespace setup {

class Sha256 {
 public:
  Sha256();
  void Update(const void* data, size_t size);
  // The digest as 64 lower-case hexadecimal digits; the object is spent after.
  Text FinishHex();

 private:
  void Block(const uint8_t* block);

  uint32_t state_[8];
  uint8_t buffer_[64];
  size_t buffered_ = 0;
  uint64_t total_ = 0;
};

// The digest of a whole file, read in pieces; empty when it cannot be read.
Text Sha256OfFile(const Text& path);

// Whether `text` is a SHA-256 digest: exactly 64 hexadecimal digits, either case.
bool IsSha256Hex(const Text& text);

// Whether two digests are the same, ignoring letter case.
bool SameSha256(const Text& a, const Text& b);

}  // namespace setup
