// Times one download under Wine or Windows:
//   download_bench setup URL FILE   through DownloadToFile, as the installer downloads
//   download_bench bare  URL FILE   a bare WinINet loop: the same 10,240-byte reads,
//                                   each written to the file, and nothing else
//   download_bench program URL FILE [SHA256]
//                                   as the install run does: beside FILE, resumed when
//                                   cut, checked against SHA256, then moved to FILE
//   download_bench sha256 FILE      the digest of FILE alone (no download)
// Prints "seconds=S bytes=N MBps=X peak_working_set_MB=M" (program adds resumes=R
// restarted=0|1).
#include <windows.h>
#include <psapi.h>
#include <wininet.h>

#include <cstdio>
#include <cstring>

#include "base/file_io.h"
#include "base/sha256.h"
#include "bench_util.h"
#include "net/download.h"
#include "wizard/program_download.h"

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
  const bool hashOnly = argc == 3 && std::strcmp(argv[1], "sha256") == 0;
  if (argc != 4 && argc != 5 && !hashOnly) {
    std::fprintf(stderr,
                 "usage: download_bench setup|bare|program URL FILE [SHA256]\n"
                 "       download_bench sha256 FILE\n");
    return 2;
  }
  const double start = bench::Now();
  int64_t bytes = -1;
  char extra[64] = "";
  if (hashOnly) {
    if (!setup::Sha256OfFile(argv[2]).empty()) bytes = setup::ReadableFileSize(argv[2]);
  } else if (std::strcmp(argv[1], "bare") == 0) {
    bytes = Bare(argv[2], argv[3]);
  } else if (std::strcmp(argv[1], "program") == 0) {
    const setup::ProgramDownload run = setup::DownloadProgram(
        setup::SystemInternet(), setup::SystemDownloadFiles(), setup::SystemProgramFiles(), argv[2],
        argv[3], argc == 5 ? argv[4] : "", Count, nullptr);
    if (run.ok()) bytes = setup::ReadableFileSize(argv[3]);
    std::snprintf(extra, sizeof extra, " resumes=%d restarted=%d", run.resumes,
                  run.restarted ? 1 : 0);
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
  std::printf("seconds=%.3f bytes=%lld MBps=%.1f peak_working_set_MB=%.1f%s\n", seconds,
              static_cast<long long>(bytes), bytes / seconds / 1048576.0,
              memory.PeakWorkingSetSize / 1048576.0, extra);
  return 0;
}
