#include "base/file_name.h"

namespace setup {

namespace {

Text TrimRight(const Text& text) {
  size_t end = text.size();
  while (end > 0 && text[end - 1] == ' ') --end;
  return text.substr(0, end);
}

bool IsReservedDeviceName(const Text& name) {
  const size_t dot = FindText(name, ".");
  const Text base = AsciiUpper(TrimRight(dot == Text::npos ? name : name.substr(0, dot)));
  static const char* const kFixed[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
  for (const char* reserved : kFixed)
    if (base == reserved) return true;
  return base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0) &&
         base[3] >= '1' && base[3] <= '9';
}

}  // namespace

bool IsPlainFileName(const Text& name) {
  if (name.empty() || name.size() > kMaxPlainNameBytes) return false;
  if (name == "." || name == "..") return false;
  if (name.back() == '.' || name.back() == ' ') return false;
  for (size_t i = 0; i < name.size(); ++i) {
    const unsigned char b = static_cast<unsigned char>(name[i]);
    if (IsLeadByte(b)) {
      if (++i >= name.size()) return false;  // a lead byte without its trail byte
      continue;
    }
    if (b < 0x20 || b == 0x7F) return false;
    switch (b) {
      case '\\':
      case '/':
      case ':':
      case '*':
      case '?':
      case '"':
      case '<':
      case '>':
      case '|':
        return false;
      default:
        break;
    }
  }
  return !IsReservedDeviceName(name);
}

}  // namespace setup
