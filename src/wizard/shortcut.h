// The desktop shortcut: where it goes and what it points at.
#pragma once

#include <cstdint>
#include <optional>

#include "base/text.h"

namespace setup {

// The last component of a path (after the last "\" or "/").
Text FileNamePart(const Text& path);
// A file name without its extension (the part from the last "." on).
Text WithoutExtension(const Text& name);

// The link file's path in `desktop` (which ends with "\"): a name with a folder
// part is cut to its last component without extension; ".lnk" is added unless
// the name holds it already, in any letter case.
Text ShortcutLinkPath(const Text& desktop, const Text& shortcutName);

// The working folder of a target: every part but the last, each followed by
// "\". Nothing when the target has no "\".
std::optional<Text> WorkingFolderOf(const Text& target);

// The icon location: the given icon, else the target's own icon (",0") when it
// has an extension, else the shell's default program icon.
Text IconLocationFor(const Text& target, const std::optional<Text>& iconPath);

// Windows only: the folder of a kind (0 means 3, the desktop) ending with "\",
// or empty when it cannot be found.
Text SpecialFolderPath(int32_t folderKind);

// Windows only: saves the shortcut through the shell object; true when saved.
bool CreateDesktopShortcut(const Text& shortcutName, const Text& target, const Text& arguments,
                           const std::optional<Text>& iconPath, int32_t windowStyle,
                           const Text& description, const Text& hotkey);

}  // namespace setup
