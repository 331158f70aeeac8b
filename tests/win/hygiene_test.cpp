// Resource hygiene of the wizard in this process: many state changes of every
// image button and many moves of the shadowed window leave the counts of GDI
// objects, USER objects and kernel handles where they were.
#include <gtest/gtest.h>

#include <windows.h>

#include "app/installer_state.h"
#include "skin/graphics_startup.h"
#include "wizard/wizard.h"
#include "wizard/wizard_form.h"

namespace wintest {
namespace {

// Wine answers GetGuiResources and GetProcessHandleCount with 0, so the live
// objects are also counted by asking about every possible handle value.
int ScanGdiObjects() {
  int n = 0;
  for (ULONG_PTR v = 1; v < 0x1000000; ++v)
    if (GetObjectType(reinterpret_cast<HGDIOBJ>(v))) ++n;
  return n;
}

int ScanKernelHandles() {
  int n = 0;
  DWORD flags = 0;
  for (ULONG_PTR v = 4; v < 0x100000; v += 4)
    if (GetHandleInformation(reinterpret_cast<HANDLE>(v), &flags)) ++n;
  return n;
}

BOOL CALLBACK CountWindow(HWND hwnd, LPARAM count) {
  ++*reinterpret_cast<int*>(count);
  EnumChildWindows(hwnd, CountWindow, count);
  return TRUE;
}

struct Counts {
  DWORD gdi, user, handles;
};

Counts Measure() {
  Counts c{GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS),
           GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS), 0};
  GetProcessHandleCount(GetCurrentProcess(), &c.handles);
  if (c.gdi == 0) c.gdi = static_cast<DWORD>(ScanGdiObjects());
  if (c.user == 0) {
    int windows = 0;
    EnumThreadWindows(GetCurrentThreadId(), CountWindow, reinterpret_cast<LPARAM>(&windows));
    c.user = static_cast<DWORD>(windows);
  }
  if (c.handles == 0) c.handles = static_cast<DWORD>(ScanKernelHandles());
  return c;
}

void Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

// Every image button of the form, page by page, hovered and left `times` times.
void StirButtons(int times) {
  setup::ui::Form& w = setup::Wizard();
  w.SetVisible("外形框2", true);
  w.SetLeft("外形框2", 0);
  w.SetTop("外形框2", 0);
  for (int page = 0; page < 4; ++page) {
    w.SetCurrentPage("选择夹1", page);
    Pump();
    for (const setup::ui::ControlEntry& c : setup::WizardForm().controls) {
      const bool button =
          c.kind == setup::ui::Kind::kImageButton || c.kind == setup::ui::Kind::kPushButton;
      HWND hwnd = w.Handle(c.name);
      if (!button || !IsWindowVisible(hwnd)) continue;
      for (int i = 0; i < times; ++i) {
        SendMessageA(hwnd, (i % 2) ? WM_MOUSELEAVE : WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
        UpdateWindow(hwnd);
      }
      Pump();
    }
  }
  w.SetVisible("外形框2", false);
  w.SetCurrentPage("选择夹1", 0);
  Pump();
}

void MoveWizard(int times) {
  HWND window = setup::Wizard().window();
  RECT rc;
  GetWindowRect(window, &rc);
  for (int i = 0; i < times; ++i) {
    SetWindowPos(window, nullptr, rc.left + (i % 7), rc.top + (i % 5), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER);
    Pump();
  }
  SetWindowPos(window, nullptr, rc.left, rc.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  Pump();
}

TEST(Hygiene, ButtonStatesAndWindowMovesLeaveNoObjectsBehind) {
  setup::InitInstallerState();
  setup::State().app_info.agent_app.app_name = "云听音乐";
  setup::StartLoadDialogModule();
  setup::StartImageButtonModule();
  ASSERT_TRUE(setup::OpenWizard());
  Pump();
  StirButtons(4);  // first paints make the caches that live as long as the window
  MoveWizard(4);
  const Counts before = Measure();
  StirButtons(1000);
  MoveWizard(200);
  const Counts after = Measure();
  EXPECT_EQ(after.gdi, before.gdi) << "GDI objects";
  EXPECT_EQ(after.user, before.user) << "USER objects";
  EXPECT_EQ(after.handles, before.handles) << "kernel handles";
  EXPECT_GT(before.gdi, 10u) << "the count sees the wizard's objects";
  setup::Wizard().Close();
  Pump();
}

}  // namespace
}  // namespace wintest
