// Times one download under Wine or Windows, two ways:
//   download_bench setup URL FILE   through DownloadToFile, as the installer downloads
//   download_bench bare  URL FILE   a bare WinINet loop: the same 10,240-byte reads,
//                                   each written to the file, and nothing else
// Prints "seconds=S bytes=N MBps=X peak_working_set_MB=M".
#include <windows.h>
#include <psapi.h>
#include <wininet.h>

#include <cstdio>
#include <cstring>

#include "base/file_io.h"
#include "bench_util.h"
#include "net/download.h"

namespace {

int64_t Bare(const char* url, const char* path) {
  HINTERNET root =
      InternetOpenA("bench", INTERNET_OPEN_TYPE_PRECONFIG_WITH_NO_AUTOPROXY, nullptr, nullptr, 0);
  HINTERNET source =
      root ? InternetOpenUrlA(root, url, nullptr, 0, setup::kDownloadUrlFlags, 0) : nullptr;
  HANDLE file =
      CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, 0, nullptr);
  int64_t total = -1;
  if (source && file != INVALID_HANDLE_VALUE) {
    static char buffer[setup::kDownloadChunk];
    DWORD got = 0, wrote = 0;
    total = 0;
    while (InternetReadFile(source, buffer, sizeof buffer, &got) && got > 0) {
      WriteFile(file, buffer, got, &wrote, nullptr);
      total += got;
    }
  }
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  if (source) InternetCloseHandle(source);
  if (root) InternetCloseHandle(root);
  return total;
}

int64_t g_bytes = 0;
void Count(void*, int32_t, int32_t, int32_t, int32_t bytesThisCall) {
  g_bytes = static_cast<uint32_t>(bytesThisCall);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: download_bench setup|bare URL FILE\n");
    return 2;
  }
  const double start = bench::Now();
  int64_t bytes = -1;
  if (std::strcmp(argv[1], "bare") == 0) {
    bytes = Bare(argv[2], argv[3]);
  } else {
    setup::Text error;
    if (setup::DownloadToFile(setup::SystemInternet(), setup::SystemDownloadFiles(), argv[2],
                              argv[3], Count, nullptr, 0, false, &error) == 0) {
      bytes = setup::ReadableFileSize(argv[3]);
    }
  }
  const double seconds = bench::Now() - start;
  PROCESS_MEMORY_COUNTERS memory{};
  GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
  if (bytes < 0) {
    std::printf("failed\n");
    return 1;
  }
  std::printf("seconds=%.3f bytes=%lld MBps=%.1f peak_working_set_MB=%.1f\n", seconds,
              static_cast<long long>(bytes), bytes / seconds / 1048576.0,
              memory.PeakWorkingSetSize / 1048576.0);
  return 0;
}
