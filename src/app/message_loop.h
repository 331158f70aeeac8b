// The program's message loop: it runs for as long as a window of the program
// exists, and returns at once when none was opened.
#pragma once

#include <windows.h>

namespace setup {

// The window layer reports each top-level window of the program as it is
// created and destroyed; the last one gone ends the loop.
void NoteTopLevelWindowOpened();
void NoteTopLevelWindowClosed();

// A filter that sees every message before it is dispatched; true consumes it.
using MessageFilter = bool (*)(MSG* msg);
void SetMessageFilter(MessageFilter filter);

void RunMessageLoop();

}  // namespace setup
