#include "brand.h"

#include <climits>

namespace setup::brand {

namespace {

uint32_t U32(const Bytes& b, int64_t off) {
  if (off < 0 || off + 4 > static_cast<int64_t>(b.size())) return 0;
  return static_cast<uint32_t>(ReadInt32(b, off + 1));
}

uint16_t U16(const Bytes& b, int64_t off) {
  if (off < 0 || off + 2 > static_cast<int64_t>(b.size())) return 0;
  return static_cast<uint16_t>(b[off] | (b[off + 1] << 8));
}

bool Fail(std::string* why, const std::string& text) {
  if (why) *why = text;
  return false;
}

bool IsPng(const Bytes& b, int64_t off, int64_t len) {
  static const uint8_t sig[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  if (len < 33) return false;  // signature and IHDR chunk
  for (int i = 0; i < 8; ++i)
    if (b[off + i] != sig[i]) return false;
  return b[off + 12] == 'I' && b[off + 13] == 'H' && b[off + 14] == 'D' && b[off + 15] == 'R';
}

// A DIB icon image: BITMAPINFOHEADER, palette, colour bits and AND mask must fit.
bool IsDibImage(const Bytes& b, int64_t off, int64_t len) {
  if (len < 40 || U32(b, off) != 40) return false;
  const int32_t w = static_cast<int32_t>(U32(b, off + 4));
  const int32_t h2 = static_cast<int32_t>(U32(b, off + 8));
  const uint16_t planes = U16(b, off + 12), bpp = U16(b, off + 14);
  if (w <= 0 || w > 1024 || h2 <= 0 || h2 > 2048 || planes != 1) return false;
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) return false;
  const int64_t h = h2 / 2 > 0 ? h2 / 2 : 1;
  int64_t colours = U32(b, off + 32);
  if (colours == 0 && bpp <= 8) colours = int64_t{1} << bpp;
  if (colours > 256) return false;
  const int64_t xorRow = ((int64_t{w} * bpp + 31) / 32) * 4;
  const int64_t andRow = ((int64_t{w} + 31) / 32) * 4;
  return 40 + colours * 4 + (xorRow + andRow) * h <= len;
}

}  // namespace

bool CheckAgentId(const Text& id, std::string* why) {
  if (id.empty()) return Fail(why, "the agent id is empty");
  int64_t value = 0;
  for (char c : id) {
    if (c < '0' || c > '9') return Fail(why, "the agent id must be decimal digits: " + id);
    value = value * 10 + (c - '0');
    if (value > INT32_MAX) return Fail(why, "the agent id does not fit a 32-bit integer: " + id);
  }
  if (value == 0) return Fail(why, "the agent id must not be 0");
  return true;
}

bool CheckIcon(const Bytes& ico, std::string* why) {
  const int64_t size = static_cast<int64_t>(ico.size());
  if (size < 6 || U16(ico, 0) != 0 || U16(ico, 2) != 1)
    return Fail(why, "not an icon file (bad header)");
  const int64_t count = U16(ico, 4);
  if (count == 0) return Fail(why, "the icon file holds no image");
  if (6 + 16 * count > size) return Fail(why, "the icon file's directory is cut short");
  for (int64_t i = 0; i < count; ++i) {
    const int64_t entry = 6 + 16 * i;
    const int64_t len = U32(ico, entry + 8), off = U32(ico, entry + 12);
    const std::string which = "icon image " + DecimalText(i + 1);
    if (len == 0 || off < 6 + 16 * count || off + len > size)
      return Fail(why, which + " lies outside the file");
    if (!IsPng(ico, off, len) && !IsDibImage(ico, off, len))
      return Fail(why, which + " is neither a bitmap nor a PNG image");
  }
  return true;
}

int64_t ImageEnd(const Bytes& f) {
  if (f.size() < 64 || f[0] != 'M' || f[1] != 'Z') return 0;
  const int64_t pe = U32(f, 0x3C);
  if (U32(f, pe) != 0x00004550) return 0;  // "PE\0\0"
  const int64_t sections = U16(f, pe + 6), optSize = U16(f, pe + 20);
  const int64_t opt = pe + 24, table = opt + optSize;
  if (table + 40 * sections > static_cast<int64_t>(f.size())) return 0;
  int64_t end = table + 40 * sections;
  for (int64_t i = 0; i < sections; ++i) {
    const int64_t s = table + 40 * i;
    const int64_t raw = U32(f, s + 16), ptr = U32(f, s + 20);
    if (raw && ptr + raw > end) end = ptr + raw;
  }
  // The certificate table (data directory 4) holds a file offset, not an RVA.
  const bool pe32 = U16(f, opt) == 0x10B;
  const int64_t certDir = opt + (pe32 ? 96 : 112) + 4 * 8;
  if (certDir + 8 <= table) {
    const int64_t certOff = U32(f, certDir), certSize = U32(f, certDir + 4);
    if (certOff && certSize && certOff + certSize > end) end = certOff + certSize;
  }
  return end;
}

TrailerCheck CheckTrailer(const Bytes& file) {
  TrailerCheck check;
  const int64_t size = static_cast<int64_t>(file.size());
  if (size < 12) {
    check.problem = "the file is too short to carry a trailer";
    return check;
  }
  const int64_t length = ReadInt32(file, size - 3);
  if (length < 8 || length + 4 > size) {
    check.problem = "the last four bytes are no trailer length";
    return check;
  }
  const int64_t start = size - length - 4;
  const Bytes trailer = LastBytes(file, length + 4);
  const int64_t m = ReadInt32(trailer, 1);
  const int64_t v = m >= 0 && m <= length - 8 ? ReadInt32(trailer, 5 + m) : -1;
  if (m < 1 || v < 0 || 8 + m + v != length) {
    check.problem = "the trailer's lengths do not add up";
    return check;
  }
  const BrandingData data = ParseBrandingTrailer(file);
  std::string why;
  if (data.agent_id_text.size() != static_cast<size_t>(m) ||
      !CheckAgentId(data.agent_id_text, &why)) {
    check.problem = "the trailer's agent id is invalid";
    return check;
  }
  if (!data.icon_bytes.empty() && !CheckIcon(data.icon_bytes, &why)) {
    check.problem = "the trailer's icon is invalid: " + why;
    return check;
  }
  const int64_t image = ImageEnd(file);
  if (image > start) {
    check.problem = "the supposed trailer overlaps the executable image";
    return check;
  }
  check.valid = true;
  check.start = start;
  return check;
}

bool Brand(const Bytes& templ, const Text& agent_id, const Bytes& icon, bool replace, Bytes* out,
           std::string* why) {
  if (!CheckAgentId(agent_id, why)) return false;
  std::string iconWhy;
  if (!icon.empty() && !CheckIcon(icon, &iconWhy)) return Fail(why, "invalid icon: " + iconWhy);
  const int64_t image = ImageEnd(templ);
  if (image == 0) return Fail(why, "the template is not a Windows executable");
  if (image > static_cast<int64_t>(templ.size())) return Fail(why, "the template is cut short");
  const TrailerCheck existing = CheckTrailer(templ);
  if (existing.valid && !replace)
    return Fail(why, "the template is already branded (use --replace to swap its trailer)");
  const int64_t keep = existing.valid ? existing.start : static_cast<int64_t>(templ.size());
  const Bytes trailer = BuildBrandingTrailer(agent_id, icon);
  out->assign(templ.begin(), templ.begin() + keep);
  out->insert(out->end(), trailer.begin(), trailer.end());
  return true;
}

}  // namespace setup::brand
