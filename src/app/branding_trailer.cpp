#include "app/branding_trailer.h"

namespace setup {

int64_t TrailerExtent(const Bytes& file) {
  const int64_t size = static_cast<int64_t>(file.size());
  const int64_t length = ReadInt32(file, size - 3);
  const int64_t extent = length + 4;  // in 64 bits: no overflow for any L
  if (extent <= 0) return 0;
  return extent < size ? extent : size;
}

BrandingData ParseBrandingTrailer(const Bytes& file) {
  const Bytes trailer = LastBytes(file, TrailerExtent(file));
  BrandingData data;
  int64_t pos = 1;
  const int32_t m = ReadInt32(trailer, pos);
  pos += 4;
  data.agent_id_text = TextFromBytes(ReadRun(trailer, pos, m));
  pos += m;
  const int32_t v = ReadInt32(trailer, pos);
  pos += 4;
  data.icon_bytes = ReadRun(trailer, pos, v);
  return data;
}

Bytes BuildBrandingTrailer(const Text& agent_id_text, const Bytes& icon) {
  Bytes out;
  out.reserve(12 + agent_id_text.size() + icon.size());
  AppendInt32(out, static_cast<int32_t>(agent_id_text.size()));
  out.insert(out.end(), agent_id_text.begin(), agent_id_text.end());
  AppendInt32(out, static_cast<int32_t>(icon.size()));
  out.insert(out.end(), icon.begin(), icon.end());
  AppendInt32(out, static_cast<int32_t>(8 + agent_id_text.size() + icon.size()));
  return out;
}

}  // namespace setup
