// Downloads one URL into a local file in chunks of at most 10,240 bytes, with
// an optional byte-range resume and a progress report after every chunk.
#pragma once

#include <cstdint>

#include "base/text.h"
#include "net/internet_api.h"

namespace setup {

// Called after every chunk written, on the downloading thread: content length
// (0 when the reply announces none), bytes so far (including the resume
// offset), elapsed milliseconds, bytes received by this call.
using DownloadProgress = void (*)(void* context, int32_t contentLength, int32_t bytesSoFar,
                                  int32_t elapsedMs, int32_t bytesThisCall);

// The local file operations the download needs.
class DownloadFileApi {
 public:
  using Handle = void*;
  virtual ~DownloadFileApi() = default;
  // Opens for writing with reading and writing by others allowed: created or
  // truncated, or with `append` opened (created when missing) at its end.
  // Null on failure.
  virtual Handle OpenForWriting(const char* path, bool append) = 0;
  virtual bool Write(Handle file, const void* data, uint32_t size) = 0;
  virtual void Close(Handle file) = 0;
};

// The platform's files (Windows only).
DownloadFileApi& SystemDownloadFiles();

extern const char kDownloadHeaders[];
extern const char kNoInternetMessage[];
extern const char kCannotOpenUrlMessage[];
extern const char kCannotOpenFileMessage[];
extern const char kReadErrorMessage[];
extern const char kWriteErrorMessage[];

constexpr uint32_t kDownloadChunk = 10240;
constexpr uint32_t kDownloadUrlFlags = 0x84000100;  // reload, no cache write, pragma no-cache

// The request headers: the fixed block, plus "Range:bytes=N-" when resuming.
Text DownloadHeaderBlock(bool resume, int32_t resumeOffset);

// Which step of a download failed.
enum class DownloadFailure {
  kNone,
  kNoInternet,     // the root handle
  kCannotOpenUrl,  // the URL, or an error status (400 and above)
  kCannotOpenFile,
  kRead,  // the transfer broke off
  kWrite,
};

// What a download did, for callers that retry or judge it.
struct DownloadOutcome {
  DownloadFailure failure = DownloadFailure::kNone;
  uint32_t contentLength = 0;  // as announced by the reply; 0 when none
  int32_t startOffset = 0;     // where the reply's bytes begin in the file
  bool restarted = false;      // a range was asked for and the whole file came instead
};

// 0 on success; -1 on failure with the reason in `errorText` (left unchanged
// on success). Part of the file may stay on disk after a failed read.
// When resuming, a reply that ignores the range (status 200) rewrites the file
// from its start instead of appending the whole file to the part on disk.
int32_t DownloadToFile(InternetApi& net, DownloadFileApi& files, const Text& url,
                       const Text& filePath, DownloadProgress progress, void* context,
                       int32_t resumeOffset, bool resume, Text* errorText,
                       DownloadOutcome* outcome = nullptr);

}  // namespace setup
