#include <windows.h>

#include "net/download.h"

namespace setup {

namespace {

class WinDownloadFiles : public DownloadFileApi {
 public:
  Handle OpenForWriting(const char* path, bool append) override {
    HANDLE file = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              append ? OPEN_ALWAYS : CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return nullptr;
    if (append) SetFilePointer(file, 0, nullptr, FILE_END);
    return file;
  }
  bool Write(Handle file, const void* data, uint32_t size) override {
    DWORD written = 0;
    return WriteFile(static_cast<HANDLE>(file), data, size, &written, nullptr) && written == size;
  }
  void Close(Handle file) override { CloseHandle(static_cast<HANDLE>(file)); }
};

}  // namespace

DownloadFileApi& SystemDownloadFiles() {
  static WinDownloadFiles files;
  return files;
}

}  // namespace setup
