// uidriver: a command-line UI test driver for the installer under Wine or Windows.
//
//   uidriver list [--pid N]                         top-level windows
//   uidriver wait  [match] [--timeout S]            until a matching window is shown
//   uidriver gone  [match] [--timeout S]            until none is left
//   uidriver text  [match]                          message text (message box) or window text
//   uidriver buttons [match]                        ids of a dialog's buttons
//   uidriver controls [match]                       child controls with id, class, text
//   uidriver press [match] --id N                   presses a dialog button
//   uidriver click [match] (--id N | --control NAME) clicks a control with the pointer
//   uidriver key   [match] --key esc|enter|space|tab sends a key to the window
//   uidriver state [match]                          the wizard's controls: name, shown, enabled,
//   text uidriver settext [match] --control NAME --text T types a text into an edit box
// match: --caption TEXT --class NAME --pid N (controls of the wizard are named as in its form)
// Exit status: 0 done, 1 not found or timed out, 2 usage.
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "ui_driver.h"
#include "wizard/wizard_form.h"

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
      "usage: uidriver list|wait|gone|text|buttons|controls|state|press|click|key|settext\n"
      "  [--caption T] [--class C] [--pid N] [--timeout S] [--id N | --control NAME] [--key K] "
      "[--text T]\n",
      stderr);
  return 2;
}

WORD VirtualKey(const std::string& name) {
  if (name == "esc") return VK_ESCAPE;
  if (name == "enter") return VK_RETURN;
  if (name == "space") return VK_SPACE;
  if (name == "tab") return VK_TAB;
  return 0;
}

void PrintState(HWND top) {
  for (const WindowInfo& w : uidriver::ChildWindows(top)) {
    std::printf("%s id=%d class=%s shown=%d enabled=%d",
                uidriver::ToUtf8(setup::ui::ControlName(setup::WizardForm(), w.id)).c_str(), w.id,
                w.cls.c_str(), IsWindowVisible(w.hwnd) ? 1 : 0, w.enabled);
    if (w.cls == "Button") std::printf(" checked=%d", uidriver::CheckState(w.hwnd));
    if (w.cls == "msctls_progress32")
      std::printf(" position=%d", uidriver::ProgressPosition(w.hwnd));
    std::printf(" text=%s\n", uidriver::ToUtf8(w.text).c_str());
  }
}

}  // namespace

int main(int argc, char** argv) {
  _setmode(_fileno(stdout), _O_BINARY);
  if (argc < 2) return Usage();
  const std::string command = argv[1];
  Match match;
  DWORD timeoutMs = 10000;
  int id = -1;
  std::string keyName, text;
  for (int i = 2; i + 1 < argc; i += 2) {
    const std::string option = argv[i], value = argv[i + 1];
    if (option == "--caption") {
      match.caption = value;
    } else if (option == "--class") {
      match.cls = value;
    } else if (option == "--pid") {
      match.pid = std::strtoul(value.c_str(), nullptr, 10);
    } else if (option == "--timeout") {
      timeoutMs = static_cast<DWORD>(std::atof(value.c_str()) * 1000);
    } else if (option == "--id") {
      id = std::atoi(value.c_str());
    } else if (option == "--control") {
      id = setup::ui::ControlId(setup::WizardForm(), value.c_str());
      if (id == 0) return Usage();
    } else if (option == "--key") {
      keyName = value;
    } else if (option == "--text") {
      text = value;
    } else {
      return Usage();
    }
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
  HWND control = id >= 0 ? uidriver::ControlById(hwnd, id) : nullptr;
  if (command == "wait") {
    PrintWindow(uidriver::Describe(hwnd));
    return 0;
  }
  if (command == "text") {
    std::string shown = control ? uidriver::TextOf(control) : uidriver::MessageBoxText(hwnd);
    if (shown.empty() && !control) shown = uidriver::TextOf(hwnd);
    std::printf("%s\n", uidriver::ToUtf8(shown).c_str());
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
  if (command == "state") {
    PrintState(hwnd);
    return 0;
  }
  if (command == "press") return control && uidriver::PressButton(hwnd, id) ? 0 : 1;
  if (command == "click") return control && uidriver::ClickControl(control) ? 0 : 1;
  if (command == "key")
    return VirtualKey(keyName) && uidriver::PressKey(hwnd, VirtualKey(keyName)) ? 0 : 1;
  if (command == "settext") {
    return control && SendMessageA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()))
               ? 0
               : 1;
  }
  return Usage();
}
