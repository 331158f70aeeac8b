// The graphics start-up as main() ran it before the tests.
#include "skin/graphics_startup.h"

#include <gtest/gtest.h>

#include <vector>

#include "skin/guid_text.h"

namespace skintest {
namespace {

std::vector<int> BytesOf(const GUID* guid) {
  if (!guid) return {};
  const uint8_t* p = reinterpret_cast<const uint8_t*>(guid);
  return std::vector<int>(p, p + 16);
}

TEST(GraphicsStartup, FrameDimensionTimeAsTheSystemParsesIt) {
  uint8_t portable[16];
  ASSERT_TRUE(setup::ParseGuidText(setup::kFrameDimensionTimeText, portable));
  EXPECT_EQ(BytesOf(setup::FrameDimensionTime()), std::vector<int>(portable, portable + 16));
  EXPECT_EQ(BytesOf(setup::FrameDimensionTime()),
            (std::vector<int>{0x6D, 0xBD, 0xED, 0x6A, 0xB5, 0x3F, 0x8A, 0x41, 0x83, 0xA6, 0x7F,
                              0x45, 0x22, 0x9D, 0xC8, 0x72}));
}

TEST(GraphicsStartup, ReleaseFreesTheIdentifierAndAnotherStartRestoresIt) {
  setup::ReleaseFrameDimensionTime();
  EXPECT_EQ(setup::FrameDimensionTime(), nullptr);
  setup::ReleaseFrameDimensionTime();  // the exit routine may run after an earlier release
  setup::StartLoadDialogModule();      // GDI+ counts the extra start; the class stays registered
  ASSERT_NE(setup::FrameDimensionTime(), nullptr);
  EXPECT_EQ(BytesOf(setup::FrameDimensionTime())[0], 0x6D);
}

TEST(GraphicsStartup, LoadDialogClassIsRegistered) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  ASSERT_TRUE(GetClassInfoExA(GetModuleHandleA(nullptr), "EmberLoadDialog", &wc));
  EXPECT_EQ(wc.style, static_cast<UINT>(CS_HREDRAW | CS_VREDRAW));
  EXPECT_EQ(wc.lpfnWndProc, setup::LoadDialogProc);
  EXPECT_EQ(wc.cbClsExtra, 0);
  EXPECT_EQ(wc.cbWndExtra, 0);
  EXPECT_EQ(wc.hIcon, nullptr);
  EXPECT_EQ(wc.hCursor, LoadCursorA(nullptr, IDC_ARROW));
  EXPECT_EQ(wc.hbrBackground, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
  EXPECT_EQ(wc.lpszMenuName, nullptr);
}

DWORD WINAPI Idle(void*) {
  Sleep(INFINITE);
  return 7;
}

TEST(GraphicsStartup, LoadDialogEndsItsThreadWhenDestroyed) {
  HWND dialog = CreateWindowExA(0, "EmberLoadDialog", "", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(dialog, nullptr);
  HANDLE thread = CreateThread(nullptr, 0, Idle, nullptr, 0, nullptr);
  ASSERT_NE(thread, nullptr);
  HANDLE watch = nullptr;
  ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), thread, GetCurrentProcess(), &watch, 0, FALSE,
                              DUPLICATE_SAME_ACCESS));
  SetPropA(dialog, "Ember_Thread", thread);
  // A left button down without "EmberHitMove" is the default handling only.
  EXPECT_EQ(SendMessageA(dialog, WM_LBUTTONDOWN, MK_LBUTTON, 0), 0);
  DestroyWindow(dialog);
  ASSERT_EQ(WaitForSingleObject(watch, 5000), WAIT_OBJECT_0);
  DWORD code = 99;
  GetExitCodeThread(watch, &code);
  EXPECT_EQ(code, 0u);
  DWORD flags = 0;
  EXPECT_FALSE(GetHandleInformation(thread, &flags)) << "the thread handle was not closed";
  CloseHandle(watch);
}

}  // namespace
}  // namespace skintest
