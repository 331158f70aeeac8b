#include "wizard/shortcut.h"

namespace setup {

namespace {

// Byte offsets of the character-aligned occurrences of `ch`.
size_t LastOf(const Text& text, const Text& ch) {
  size_t last = Text::npos;
  for (size_t at = FindText(text, ch); at != Text::npos; at = FindText(text, ch, at + 1)) last = at;
  return last;
}

}  // namespace

Text FileNamePart(const Text& path) {
  const size_t back = LastOf(path, "\\"), slash = LastOf(path, "/");
  size_t cut = back == Text::npos    ? slash
               : slash == Text::npos ? back
                                     : (back > slash ? back : slash);
  return cut == Text::npos ? path : path.substr(cut + 1);
}

Text WithoutExtension(const Text& name) {
  const size_t dot = LastOf(name, ".");
  return dot == Text::npos ? name : name.substr(0, dot);
}

Text ShortcutLinkPath(const Text& desktop, const Text& shortcutName) {
  Text name = shortcutName;
  if (Contains(name, "\\")) name = WithoutExtension(FileNamePart(name));
  return Contains(name, ".lnk", true) ? desktop + name : desktop + name + ".lnk";
}

std::optional<Text> WorkingFolderOf(const Text& target) {
  const size_t last = LastOf(target, "\\");
  if (last == Text::npos) return std::nullopt;
  return target.substr(0, last + 1);
}

Text IconLocationFor(const Text& target, const std::optional<Text>& iconPath) {
  if (iconPath) return *iconPath;
  return FindText(FileNamePart(target), ".") != Text::npos ? target + ",0" : Text("SHELL32.dll,4");
}

}  // namespace setup
