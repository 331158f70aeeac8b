// uidriver: a command-line UI test driver for the installer under Wine or Windows.
//
//   uidriver list [--pid N]                         top-level windows
//   uidriver wait  [match] [--timeout S]            until a matching window is shown
//   uidriver gone  [match] [--timeout S]            until none is left
//   uidriver text  [match]                          message text (message box) or window text
//   uidriver buttons [match]                        ids of a dialog's buttons
//   uidriver controls [match]                       child controls with id, class, text
//   uidriver press [match] --id N                   presses a dialog button
// match: --caption TEXT --class NAME --pid N
// Exit status: 0 done, 1 not found or timed out, 2 usage.
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "ui_driver.h"

namespace {

using uidriver::Match;
using uidriver::WindowInfo;

void PrintWindow(const WindowInfo& w) {
  std::printf("%p pid=%lu id=%d class=%s visible=%d enabled=%d rect=%ld,%ld,%ld,%ld text=%s\n",
              static_cast<void*>(w.hwnd), static_cast<unsigned long>(w.pid), w.id, w.cls.c_str(),
              w.visible, w.enabled, w.rect.left, w.rect.top, w.rect.right, w.rect.bottom,
              uidriver::ToUtf8(w.text).c_str());
}

int Usage() {
  std::fputs(
      "usage: uidriver list|wait|gone|text|buttons|controls|press [--caption T] [--class C]"
      " [--pid N] [--timeout S] [--id N]\n",
      stderr);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  _setmode(_fileno(stdout), _O_BINARY);
  if (argc < 2) return Usage();
  const std::string command = argv[1];
  Match match;
  DWORD timeoutMs = 10000;
  int id = -1;
  for (int i = 2; i + 1 < argc; i += 2) {
    const std::string key = argv[i], value = argv[i + 1];
    if (key == "--caption")
      match.caption = value;
    else if (key == "--class")
      match.cls = value;
    else if (key == "--pid")
      match.pid = std::strtoul(value.c_str(), nullptr, 10);
    else if (key == "--timeout")
      timeoutMs = static_cast<DWORD>(std::atof(value.c_str()) * 1000);
    else if (key == "--id")
      id = std::atoi(value.c_str());
    else
      return Usage();
  }

  if (command == "list") {
    for (const WindowInfo& w : uidriver::TopLevelWindows(match.pid))
      if (match.Accepts(w) || !match.visibleOnly) PrintWindow(w);
    return 0;
  }
  if (command == "gone") return uidriver::WaitForNoWindow(match, timeoutMs) ? 0 : 1;

  HWND hwnd = uidriver::WaitForWindow(match, command == "wait" ? timeoutMs : 2000);
  if (!hwnd) {
    std::fprintf(stderr, "uidriver: no matching window\n");
    return 1;
  }
  if (command == "wait") {
    PrintWindow(uidriver::Describe(hwnd));
    return 0;
  }
  if (command == "text") {
    std::string text = uidriver::MessageBoxText(hwnd);
    if (text.empty()) text = uidriver::TextOf(hwnd);
    std::printf("%s\n", uidriver::ToUtf8(text).c_str());
    return 0;
  }
  if (command == "buttons") {
    for (int b : uidriver::ButtonIds(hwnd)) std::printf("%d\n", b);
    return 0;
  }
  if (command == "controls") {
    for (const WindowInfo& w : uidriver::ChildWindows(hwnd)) PrintWindow(w);
    return 0;
  }
  if (command == "press") {
    if (id < 0) return Usage();
    return uidriver::PressButton(hwnd, id) ? 0 : 1;
  }
  return Usage();
}
