#include "skin/graphics_startup.h"

#include <memory>

#include "skin/gdiplus_api.h"
#include "skin/guid_text.h"

namespace setup {

const char kLoadDialogClass[] = "EmberLoadDialog";

namespace {

ULONG_PTR g_load_dialog_token = 0;
ULONG_PTR g_image_button_token = 0;
std::unique_ptr<GUID> g_frame_dimension_time;

void StartGdiplus(ULONG_PTR* token) {
  Gdiplus::GdiplusStartupInput input;
  input.GdiplusVersion = 1;
  input.DebugEventCallback = nullptr;
  input.SuppressBackgroundThread = FALSE;
  input.SuppressExternalCodecs = FALSE;
  Gdiplus::GdiplusStartup(token, &input, nullptr);
}

// The GUID from its text through the system's own parser, which wants UTF-16.
void PrepareFrameDimensionTime() {
  g_frame_dimension_time.reset(new GUID());
  const int n = MultiByteToWideChar(CP_ACP, 0, kFrameDimensionTimeText, -1, nullptr, 0);
  if (n <= 0) return;
  std::unique_ptr<wchar_t[]> wide(new wchar_t[n]());
  MultiByteToWideChar(CP_ACP, 0, kFrameDimensionTimeText, -1, wide.get(), n);
  CLSIDFromString(wide.get(), g_frame_dimension_time.get());
}

void RegisterLoadDialogClass() {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = LoadDialogProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kLoadDialogClass;
  RegisterClassExA(&wc);
}

}  // namespace

void StartLoadDialogModule() {
  StartGdiplus(&g_load_dialog_token);
  PrepareFrameDimensionTime();
  RegisterLoadDialogClass();
}

void StartImageButtonModule() {
  if (g_image_button_token == 0) StartGdiplus(&g_image_button_token);
}

const GUID* FrameDimensionTime() {
  return g_frame_dimension_time.get();
}

void ReleaseFrameDimensionTime() {
  g_frame_dimension_time.reset();
}

LRESULT CALLBACK LoadDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_DESTROY: {
      if (HANDLE thread = GetPropA(window, "Ember_Thread")) {
        TerminateThread(thread, 0);
        CloseHandle(thread);
      }
      if (HANDLE image = GetPropA(window, "Ember_Image"))
        Gdiplus::DllExports::GdipDisposeImage(static_cast<GpImage*>(image));
      if (HANDLE stream = GetPropA(window, "Ember_Stream")) GlobalFree(stream);
      return DefWindowProcA(window, message, wParam, lParam);
    }
    case WM_LBUTTONDOWN: {
      const LRESULT result = DefWindowProcA(window, message, wParam, lParam);
      if (reinterpret_cast<uintptr_t>(GetPropA(window, "EmberHitMove")) == 1) {
        ReleaseCapture();
        SendMessageA(window, WM_NCLBUTTONDOWN, HTCAPTION, 0);
      }
      return result;
    }
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

}  // namespace setup
