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

// The certificate table (Authenticode signature) named by data directory 4.
struct SignatureTable {
  bool present = false;       // the directory names a table (offset and size not 0)
  bool at_end = false;        // the table ends at the end of the file
  int64_t offset = 0;         // file offset of the table
  int64_t size = 0;           // its size as the directory says
  int64_t directory = 0;      // file offset of the directory entry (offset, size)
  int64_t checksum = 0;       // file offset of the optional header's CheckSum
  int64_t last_entry = 0;     // offset of the last WIN_CERTIFICATE
  int64_t signature_end = 0;  // just past that entry's PKCS#7 blob (its DER length)
  std::string problem;        // why the table is malformed; empty when well formed
};

// The certificate table of a PE image; not present for other bytes.
SignatureTable FindSignatureTable(const Bytes& file);

// The PE checksum of `file`, its CheckSum field (at `field`) counted as zero.
uint32_t PeChecksum(const Bytes& file, int64_t field);

struct TrailerCheck {
  bool valid = false;
  int64_t start = 0;          // offset of the trailer's first byte when valid
  bool in_signature = false;  // inside the certificate table, after the signature
  int64_t padding = 0;        // zero bytes between the signature and the trailer
  std::string problem;
};

// Whether `file` ends in a well-formed trailer as the branding tool writes it:
// lengths that add up, a valid agent id, an icon that is empty or valid, and
// nothing of it inside the executable image. In a certificate table that ends
// the file, the trailer may follow the signature blob after zero bytes only.
TrailerCheck CheckTrailer(const Bytes& file);

// The branded copy of `templ`: its bytes (without its old trailer when
// `replace` is set) followed by the trailer. When a well-formed certificate
// table ends the template, the trailer goes inside it, after the signature
// and 0..7 zero bytes that keep the table a multiple of 8 bytes, so the
// signature still verifies. False, with the reason, when the template is not
// an executable, its certificate table at the end is malformed, it already
// carries a trailer and `replace` is not set, or the id or icon is invalid.
bool Brand(const Bytes& templ, const Text& agent_id, const Bytes& icon, bool replace, Bytes* out,
           std::string* why);

}  // namespace setup::brand
