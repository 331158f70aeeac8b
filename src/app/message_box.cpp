#include "app/message_box.h"

#include <windows.h>

namespace setup {

int ShowMessage(const Text& text, const Text& caption, unsigned style, void* owner) {
  return MessageBoxA(static_cast<HWND>(owner), text.c_str(), caption.c_str(),
                     TaskModalStyle(style));
}

}  // namespace setup
