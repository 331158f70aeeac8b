// Stands in for a running copy of the installed application: it does nothing
// for two minutes, under whatever file name the test gives it.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  Sleep(120000);
  return 3;
}
