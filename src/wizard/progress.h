// The install run's progress arithmetic, the coalescing of progress reports
// between the download thread and the window, and the judgement of a finished
// download.
#pragma once

#include <atomic>
#include <cstdint>

#include "base/text.h"

namespace setup {

// Tenths of a percent: bytesSoFar x 1000 / contentLength in double precision,
// cut toward zero; 0 when the quotient is not a finite number (no length).
int32_t ProgressPermille(int32_t contentLength, int32_t bytesSoFar);

// The position a progress bar stores: limited to 0 to 32,767.
int32_t StoredPosition(int32_t permille);

// "正在下载请稍后..." + the percentage: q / 10 rounded half up.
Text ProgressText(int32_t storedPosition);

extern const char kDownloadingText[];

// Progress reports from the download thread to the window's thread. The
// thread stores the latest values and tells the window only when no earlier
// notice is still waiting, so at most one notice is ever queued however fast
// chunks arrive; the window takes the latest values when it gets the notice.
class ProgressMailbox {
 public:
  // Download thread: true when the window must be told.
  bool Store(int32_t contentLength, int32_t bytesSoFar);
  // Window's thread: the latest values; false when nothing new was stored.
  bool Take(int32_t* contentLength, int32_t* bytesSoFar);

 private:
  std::atomic<int32_t> contentLength_{0};
  std::atomic<int32_t> bytesSoFar_{0};
  std::atomic<bool> pending_{false};
  std::atomic<bool> fresh_{false};
};

enum class DownloadVerdict { kComplete, kFailed };

// A download counts as complete when the routine succeeded and the file holds
// the announced size, or, with no size announced, at least one byte.
DownloadVerdict JudgeDownload(int32_t result, int64_t announcedLength, int64_t fileSize);

}  // namespace setup
