#include <windows.h>
#include <oleauto.h>
#include <shlobj.h>

#include "wizard/shortcut.h"

namespace setup {

namespace {

// A COM reference released on scope exit.
template <typename T>
class ComRef {
 public:
  ComRef() = default;
  ~ComRef() {
    if (p_) p_->Release();
  }
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;
  T** Out() { return &p_; }
  T* get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }
  void Reset() {
    if (p_) p_->Release();
    p_ = nullptr;
  }

 private:
  T* p_ = nullptr;
};

// A BSTR variant of a code-page-936 text that frees itself.
struct BstrArg {
  VARIANT v;
  explicit BstrArg(const Text& text) {
    VariantInit(&v);
    v.vt = VT_BSTR;
    const int n =
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    v.bstrVal = SysAllocStringLen(nullptr, static_cast<UINT>(n));
    if (v.bstrVal && n > 0)
      MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), v.bstrVal, n);
  }
  ~BstrArg() { VariantClear(&v); }
};

HRESULT Invoke(IDispatch* object, const wchar_t* name, WORD flags, VARIANT* args, UINT count,
               VARIANT* result) {
  DISPID id = 0;
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  HRESULT hr = object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  if (FAILED(hr)) return hr;
  DISPID put = DISPID_PROPERTYPUT;
  DISPPARAMS params{args, flags == DISPATCH_PROPERTYPUT ? &put : nullptr, count,
                    flags == DISPATCH_PROPERTYPUT ? 1u : 0u};
  return object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result, nullptr,
                        nullptr);
}

HRESULT PutText(IDispatch* object, const wchar_t* name, const Text& value) {
  BstrArg arg(value);
  return Invoke(object, name, DISPATCH_PROPERTYPUT, &arg.v, 1, nullptr);
}

// The shell object: the "WshShell" coclass of the type library in wshom.ocx,
// else the same name, then the usual one, as program identifiers.
bool CreateShellObject(ComRef<IDispatch>& shell) {
  ComRef<ITypeLib> library;
  if (SUCCEEDED(LoadTypeLibEx(L"wshom.ocx", REGKIND_NONE, library.Out()))) {
    ITypeInfo* info[1] = {};
    MEMBERID member[1] = {};
    USHORT found = 1;
    wchar_t name[] = L"WshShell";
    if (SUCCEEDED(library->FindName(name, 0, info, member, &found)) && found == 1 && info[0]) {
      TYPEATTR* attr = nullptr;
      CLSID clsid{};
      bool coclass = false;
      if (SUCCEEDED(info[0]->GetTypeAttr(&attr))) {
        coclass = attr->typekind == TKIND_COCLASS;
        clsid = attr->guid;
        info[0]->ReleaseTypeAttr(attr);
      }
      info[0]->Release();
      if (coclass && SUCCEEDED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                                reinterpret_cast<void**>(shell.Out()))))
        return true;
    }
  }
  for (const wchar_t* progId : {L"WshShell", L"WScript.Shell"}) {
    CLSID clsid;
    if (SUCCEEDED(CLSIDFromProgID(progId, &clsid)) &&
        SUCCEEDED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                   reinterpret_cast<void**>(shell.Out()))))
      return true;
  }
  return false;
}

}  // namespace

Text SpecialFolderPath(int32_t folderKind) {
  if (folderKind == 0) folderKind = 3;
  static const int kCsidl[] = {0, 5, 6, 16, 20, 11, 2, 7, 26, -9, -10, -11, 32};
  if (folderKind < 1 || folderKind > 12) return Text();
  char path[MAX_PATH] = {};
  bool ok = false;
  switch (kCsidl[folderKind]) {
    case -9:
      ok = GetWindowsDirectoryA(path, MAX_PATH) > 0;
      break;
    case -10:
      ok = GetSystemDirectoryA(path, MAX_PATH) > 0;
      break;
    case -11:
      ok = GetTempPathA(MAX_PATH, path) > 0;
      break;
    default:
      ok = SHGetSpecialFolderPathA(nullptr, path, kCsidl[folderKind], FALSE) != FALSE;
      break;
  }
  if (!ok) return Text();
  Text result(path);
  if (result.empty() || result.back() != '\\') result += '\\';
  return result;
}

bool CreateDesktopShortcut(const Text& shortcutName, const Text& target, const Text& arguments,
                           const std::optional<Text>& iconPath, int32_t windowStyle,
                           const Text& description, const Text& hotkey) {
  const Text link = ShortcutLinkPath(SpecialFolderPath(3), shortcutName);
  if (GetFileAttributesA(link.c_str()) != INVALID_FILE_ATTRIBUTES) DeleteFileA(link.c_str());
  const std::optional<Text> folder = WorkingFolderOf(target);
  if (!folder) return false;

  ComRef<IDispatch> shell;
  if (!CreateShellObject(shell)) return false;
  BstrArg linkArg(link);
  VARIANT created;
  VariantInit(&created);
  const HRESULT hr =
      Invoke(shell.get(), L"CreateShortcut", DISPATCH_METHOD, &linkArg.v, 1, &created);
  shell.Reset();
  if (FAILED(hr) || created.vt != VT_DISPATCH || !created.pdispVal) {
    VariantClear(&created);
    return false;
  }
  IDispatch* shortcut = created.pdispVal;
  if (FAILED(PutText(shortcut, L"TargetPath", target))) {
    VariantClear(&created);
    return false;
  }
  PutText(shortcut, L"WorkingDirectory", *folder);
  const Text icon = IconLocationFor(target, iconPath);
  // Some shells refuse a location without an icon index; ",0" names the same icon.
  if (FAILED(PutText(shortcut, L"IconLocation", icon)) && FindText(icon, ",") == Text::npos)
    PutText(shortcut, L"IconLocation", icon + ",0");
  VARIANT style;
  VariantInit(&style);
  style.vt = VT_I4;
  style.lVal = windowStyle;
  Invoke(shortcut, L"WindowStyle", DISPATCH_PROPERTYPUT, &style, 1, nullptr);
  PutText(shortcut, L"Description", description);
  PutText(shortcut, L"Arguments", arguments);
  PutText(shortcut, L"Hotkey", hotkey);
  Invoke(shortcut, L"Save", DISPATCH_METHOD, nullptr, 0, nullptr);
  VariantClear(&created);
  return true;
}

}  // namespace setup
