// The system's folder browser, open-file dialog and shell, as the handlers use them.
#include <windows.h>
#include <commdlg.h>
#include <shlobj.h>
#include <shellapi.h>

#include "wizard/ui/window_layer.h"

namespace setup::ui {

Text BrowseForFolder(HWND owner, const Text& title) {
  BROWSEINFOA info{};
  info.hwndOwner = owner;
  info.lpszTitle = title.c_str();
  info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_EDITBOX;
  PIDLIST_ABSOLUTE chosen = SHBrowseForFolderA(&info);
  if (!chosen) return Text();
  char path[MAX_PATH] = {};
  const bool ok = SHGetPathFromIDListA(chosen, path) != FALSE;
  CoTaskMemFree(chosen);
  return ok ? Text(path) : Text();
}

bool ChooseFile(HWND owner, const Text& title, const Text& filter, Text* path) {
  // "shown name|pattern" becomes "shown name\0pattern\0\0".
  Text filters = ReplaceAll(filter, "|", Text(1, '\0'));  // never a trail byte
  filters.append(2, '\0');
  char file[MAX_PATH * 4] = {};
  lstrcpynA(file, path->c_str(), sizeof file);
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.lpstrFilter = filters.c_str();
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file;
  ofn.nMaxFile = sizeof file;
  ofn.lpstrTitle = title.c_str();
  ofn.Flags = OFN_HIDEREADONLY | OFN_EXPLORER;
  if (!GetOpenFileNameA(&ofn)) return false;
  *path = file;
  return true;
}

bool ShellOpen(HWND owner, const char* verb, const Text& file) {
  const HINSTANCE result = ShellExecuteA(owner, verb, file.c_str(), "", "", SW_SHOWNORMAL);
  return reinterpret_cast<INT_PTR>(result) > 32;
}

}  // namespace setup::ui
