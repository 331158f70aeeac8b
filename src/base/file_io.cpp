#include "base/file_io.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <cstdio>
#endif

namespace setup {

#ifdef _WIN32

namespace {
struct FileHandle {
  HANDLE h;
  explicit FileHandle(HANDLE handle) : h(handle) {}
  ~FileHandle() {
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
  }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
};
}  // namespace

Bytes ReadWholeFile(const Text& path) {
  FileHandle f(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (f.h == INVALID_HANDLE_VALUE) return {};
  LARGE_INTEGER size;
  if (!GetFileSizeEx(f.h, &size) || size.QuadPart > 0x7FFFFFFF) return {};
  Bytes data(static_cast<size_t>(size.QuadPart));
  DWORD got = 0;
  size_t done = 0;
  while (done < data.size()) {
    const DWORD want = static_cast<DWORD>(data.size() - done);
    if (!ReadFile(f.h, data.data() + done, want, &got, nullptr) || got == 0) break;
    done += got;
  }
  data.resize(done);
  return data;
}

int64_t ReadableFileSize(const Text& path) {
  FileHandle f(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER size;
  if (f.h == INVALID_HANDLE_VALUE || !GetFileSizeEx(f.h, &size)) return -1;
  return size.QuadPart;
}

bool WriteWholeFile(const Text& path, const Bytes& data) {
  FileHandle f(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr));
  if (f.h == INVALID_HANDLE_VALUE) return false;
  size_t done = 0;
  while (done < data.size()) {
    DWORD wrote = 0;
    if (!WriteFile(f.h, data.data() + done, static_cast<DWORD>(data.size() - done), &wrote,
                   nullptr) ||
        wrote == 0)
      return false;
    done += wrote;
  }
  return true;
}

#else

Bytes ReadWholeFile(const Text& path) {
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return {};
  Bytes data;
  unsigned char buf[65536];
  size_t got;
  while ((got = std::fread(buf, 1, sizeof buf, f)) > 0) data.insert(data.end(), buf, buf + got);
  std::fclose(f);
  return data;
}

int64_t ReadableFileSize(const Text& path) {
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return -1;
  const int64_t size = std::fseek(f, 0, SEEK_END) == 0 ? static_cast<int64_t>(std::ftell(f)) : -1;
  std::fclose(f);
  return size;
}

bool WriteWholeFile(const Text& path, const Bytes& data) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool ok = std::fwrite(data.data(), 1, data.size(), f) == data.size();
  return std::fclose(f) == 0 && ok;
}

#endif

}  // namespace setup
