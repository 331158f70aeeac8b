// The trailer reader on any file: every read stays inside the data.
#include <cstddef>
#include <cstdint>

#include "app/branding.h"
#include "app/branding_trailer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const setup::Bytes file(data, data + size);
  const setup::BrandingData read = setup::ParseBrandingTrailer(file);
  if (read.icon_bytes.size() > file.size() || read.agent_id_text.size() > file.size())
    __builtin_trap();
  setup::InstallerState state;
  state.agent_id_text = read.agent_id_text;
  state.icon_bytes = read.icon_bytes;
  setup::CompleteBranding(state);
  if (state.icon_bytes.empty()) __builtin_trap();
  return 0;
}
