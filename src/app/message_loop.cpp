#include "app/message_loop.h"

#include <windows.h>

namespace setup {

namespace {
int g_open_windows = 0;
MessageFilter g_filter = nullptr;
}  // namespace

void SetMessageFilter(MessageFilter filter) {
  g_filter = filter;
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
    if (g_filter && g_filter(&msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

}  // namespace setup
