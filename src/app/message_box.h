// Message boxes, the only way the user hears of a problem.
#pragma once

#include "base/text.h"

namespace setup {

// The captions of the program's message boxes.
inline constexpr char kCaptionNotice[] = "提示";
inline constexpr char kCaptionError[] = "错误";
inline constexpr char kCaptionWizard[] = "安装向导";

constexpr unsigned kMbTaskModal = 0x2000;
constexpr unsigned kMbSystemModal = 0x1000;

// Every message box is task-modal unless it asks to be system-modal.
constexpr unsigned TaskModalStyle(unsigned style) {
  return (style & kMbSystemModal) ? style : (style | kMbTaskModal);
}

// Shows a message box owned by `owner` (none when null) and returns the
// button pressed (IDOK, IDYES, ...).
int ShowMessage(const Text& text, const Text& caption, unsigned style, void* owner = nullptr);

}  // namespace setup
