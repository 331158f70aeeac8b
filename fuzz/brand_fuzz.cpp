// The branding tool's validation of icons, trailers, certificate tables and
// agent ids on any bytes, and the round trip of whatever it accepts.
#include <cstddef>
#include <cstdint>
#include <string>

#include "brand.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const setup::Bytes bytes(data, data + size);
  std::string why;
  setup::brand::CheckIcon(bytes, &why);
  setup::brand::CheckTrailer(bytes);
  setup::brand::ImageEnd(bytes);
  const setup::brand::SignatureTable table = setup::brand::FindSignatureTable(bytes);
  setup::brand::PeChecksum(bytes, table.checksum);
  const setup::Text id(bytes.begin(), bytes.begin() + (size < 12 ? size : 12));
  if (setup::brand::CheckAgentId(id, &why) && setup::TextToInt(id) <= 0) __builtin_trap();
  setup::Bytes out;
  if (setup::brand::Brand(bytes, "41159", {}, true, &out, &why)) {
    const setup::BrandingData read = setup::ParseBrandingTrailer(out);
    if (read.agent_id_text != "41159" || !setup::brand::CheckTrailer(out).valid) __builtin_trap();
    // A well-formed table that ends the file takes the trailer and stays a multiple of 8 long.
    if (table.at_end && table.problem.empty() &&
        (!setup::brand::CheckTrailer(out).in_signature ||
         setup::brand::FindSignatureTable(out).size % 8 != 0))
      __builtin_trap();
  }
  return 0;
}
