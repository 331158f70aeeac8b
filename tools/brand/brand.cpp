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

namespace {

// Where the parts of a PE image lie; sections_end is 0 when the bytes are no PE.
struct PeLayout {
  int64_t sections_end = 0;  // past the headers and every section's raw data
  int64_t directory = 0;     // data directory 4 (certificate table); 0 when absent
  int64_t checksum = 0;      // the CheckSum field; 0 when absent
};

PeLayout ReadPe(const Bytes& f) {
  PeLayout pe;
  if (f.size() < 64 || f[0] != 'M' || f[1] != 'Z') return pe;
  const int64_t nt = U32(f, 0x3C);
  if (U32(f, nt) != 0x00004550) return pe;  // "PE\0\0"
  const int64_t sections = U16(f, nt + 6), optSize = U16(f, nt + 20);
  const int64_t opt = nt + 24, table = opt + optSize;
  if (table + 40 * sections > static_cast<int64_t>(f.size())) return pe;
  pe.sections_end = table + 40 * sections;
  for (int64_t i = 0; i < sections; ++i) {
    const int64_t s = table + 40 * i;
    const int64_t raw = U32(f, s + 16), ptr = U32(f, s + 20);
    if (raw && ptr + raw > pe.sections_end) pe.sections_end = ptr + raw;
  }
  const bool pe32 = U16(f, opt) == 0x10B;
  const int64_t directory = opt + (pe32 ? 96 : 112) + 4 * 8;
  if (directory + 8 <= table) pe.directory = directory;
  if (opt + 68 <= table) pe.checksum = opt + 64;
  return pe;
}

SignatureTable Malformed(SignatureTable t, const std::string& problem) {
  t.problem = problem;
  return t;
}

// The end of the DER SEQUENCE at `at` (a PKCS#7 ContentInfo), or 0 when it is
// not one or does not end by `limit`.
int64_t DerEnd(const Bytes& f, int64_t at, int64_t limit) {
  if (at + 2 > limit || f[at] != 0x30) return 0;
  const int lengthByte = f[at + 1];
  if (lengthByte < 0x80) return at + 2 + lengthByte <= limit ? at + 2 + lengthByte : 0;
  const int count = lengthByte & 0x7F;  // long form; 0 would be the indefinite form
  if (count == 0 || count > 4 || at + 2 + count > limit) return 0;
  int64_t length = 0;
  for (int i = 0; i < count; ++i) length = (length << 8) | f[at + 2 + i];
  const int64_t end = at + 2 + count + length;
  return end <= limit ? end : 0;
}

// Walks the WIN_CERTIFICATE entries (each 8-byte aligned) to the last one and
// finds where its signature blob ends.
SignatureTable WalkEntries(const Bytes& f, SignatureTable t) {
  const int64_t end = t.offset + t.size;
  int64_t pos = t.offset, lastLength = 0;
  while (pos < end) {
    const int64_t length = end - pos >= 8 ? U32(f, pos) : 0;
    if (length < 8 || length > end - pos)
      return Malformed(t, "a certificate entry's length is under 8 bytes or runs past the table");
    t.last_entry = pos;
    lastLength = length;
    pos += (length + 7) & ~int64_t{7};
  }
  if (U16(f, t.last_entry + 6) != 2)
    return Malformed(t, "the last certificate entry is not a PKCS#7 signature");
  t.signature_end = DerEnd(f, t.last_entry + 8, t.last_entry + lastLength);
  if (t.signature_end == 0)
    return Malformed(t, "the signature's DER length does not fit its certificate entry");
  return t;
}

bool AllZero(const Bytes& f, int64_t from, int64_t to) {
  for (int64_t i = from; i < to; ++i)
    if (f[i] != 0) return false;
  return true;
}

void Put32(Bytes& f, int64_t off, uint32_t value) {
  for (int i = 0; i < 4; ++i) f[off + i] = static_cast<uint8_t>(value >> (8 * i));
}

// Makes the table (directory size and the last entry's length) end at `end`.
void SetTableEnd(Bytes& f, const SignatureTable& t, int64_t end) {
  Put32(f, t.directory + 4, static_cast<uint32_t>(end - t.offset));
  Put32(f, t.last_entry, static_cast<uint32_t>(end - t.last_entry));
}

// The template without its trailer; a trailer inside the certificate table
// goes with its padding, and the table ends at the signature again.
Bytes WithoutTrailer(const Bytes& templ, const TrailerCheck& existing) {
  if (!existing.valid) return templ;
  if (!existing.in_signature) return Bytes(templ.begin(), templ.begin() + existing.start);
  const SignatureTable t = FindSignatureTable(templ);
  Bytes base(templ.begin(), templ.begin() + t.signature_end);
  SetTableEnd(base, t, t.signature_end);
  return base;
}

// Puts the trailer inside the certificate table that ends `base`: after the
// signature blob and the zero bytes that keep the table a multiple of 8 long.
bool BrandInsideSignature(const Bytes& base, const SignatureTable& t, const Bytes& trailer,
                          Bytes* out, std::string* why) {
  const int64_t trailerSize = static_cast<int64_t>(trailer.size());
  const int64_t padding = (8 - (t.signature_end - t.offset + trailerSize) % 8) % 8;
  const int64_t end = t.signature_end + padding + trailerSize;
  if (end - t.offset > UINT32_MAX) return Fail(why, "the certificate table would exceed 4 GB");
  out->assign(base.begin(), base.begin() + t.signature_end);
  out->insert(out->end(), padding, 0);
  out->insert(out->end(), trailer.begin(), trailer.end());
  SetTableEnd(*out, t, end);
  if (t.checksum && U32(*out, t.checksum) != 0)
    Put32(*out, t.checksum, PeChecksum(*out, t.checksum));
  return true;
}

// Accepts a trailer at `start` after the image, or inside a certificate table
// that ends the file when only zero bytes lie between the signature and it.
void CheckPlace(const Bytes& file, int64_t start, TrailerCheck* check) {
  const SignatureTable t = FindSignatureTable(file);
  if (t.at_end && t.problem.empty() && start >= t.offset) {
    if (start < t.signature_end) {
      check->problem = "the supposed trailer overlaps the signature";
      return;
    }
    if (!AllZero(file, t.signature_end, start)) {
      check->problem = "bytes other than zero lie between the signature and the trailer";
      return;
    }
    check->in_signature = true;
    check->padding = start - t.signature_end;
  } else if (ImageEnd(file) > start) {
    check->problem = "the supposed trailer overlaps the executable image";
    return;
  }
  check->valid = true;
  check->start = start;
}

}  // namespace

int64_t ImageEnd(const Bytes& f) {
  const PeLayout pe = ReadPe(f);
  if (pe.sections_end == 0) return 0;
  // The certificate table (data directory 4) holds a file offset, not an RVA.
  int64_t end = pe.sections_end;
  if (pe.directory) {
    const int64_t certOff = U32(f, pe.directory), certSize = U32(f, pe.directory + 4);
    if (certOff && certSize && certOff + certSize > end) end = certOff + certSize;
  }
  return end;
}

SignatureTable FindSignatureTable(const Bytes& f) {
  SignatureTable t;
  const PeLayout pe = ReadPe(f);
  if (pe.sections_end == 0 || pe.directory == 0) return t;
  t.directory = pe.directory;
  t.checksum = pe.checksum;
  t.offset = U32(f, pe.directory);
  t.size = U32(f, pe.directory + 4);
  t.present = t.offset != 0 && t.size != 0;
  if (!t.present) return t;
  const int64_t fileSize = static_cast<int64_t>(f.size());
  if (t.offset + t.size > fileSize) return Malformed(t, "the certificate table lies past the file");
  t.at_end = t.offset + t.size == fileSize;
  if (t.offset < pe.sections_end)
    return Malformed(t, "the certificate table overlaps the executable image");
  return WalkEntries(f, t);
}

uint32_t PeChecksum(const Bytes& f, int64_t field) {
  const int64_t size = static_cast<int64_t>(f.size());
  auto at = [&](int64_t i) -> uint32_t {
    return i >= size || (i >= field && i < field + 4) ? 0 : f[i];
  };
  uint32_t sum = 0;
  for (int64_t i = 0; i < size; i += 2) {
    sum += at(i) | (at(i + 1) << 8);
    sum = (sum & 0xFFFF) + (sum >> 16);
  }
  sum = (sum & 0xFFFF) + (sum >> 16);
  return static_cast<uint32_t>(sum + size);
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
  CheckPlace(file, start, &check);
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
  const Bytes base = WithoutTrailer(templ, existing);
  const Bytes trailer = BuildBrandingTrailer(agent_id, icon);
  const SignatureTable table = FindSignatureTable(base);
  if (table.at_end && !table.problem.empty())
    return Fail(why, "the template's certificate table is malformed: " + table.problem);
  if (table.at_end) return BrandInsideSignature(base, table, trailer, out, why);
  // Unsigned, or data already follows the table: append as always.
  *out = base;
  out->insert(out->end(), trailer.begin(), trailer.end());
  return true;
}

}  // namespace setup::brand
