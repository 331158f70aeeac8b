#include "app/message_loop.h"

#include <windows.h>

namespace setup {

namespace {
int g_open_windows = 0;
}

void NoteTopLevelWindowOpened() {
  ++g_open_windows;
}

void NoteTopLevelWindowClosed() {
  if (g_open_windows > 0 && --g_open_windows == 0) PostQuitMessage(0);
}

void RunMessageLoop() {
  if (g_open_windows == 0) return;
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

}  // namespace setup
