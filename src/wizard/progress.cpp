#include "wizard/progress.h"

#include <cmath>

namespace setup {

const char kDownloadingText[] = "正在下载请稍后...";

int32_t ProgressPermille(int32_t contentLength, int32_t bytesSoFar) {
  const double p = static_cast<double>(bytesSoFar) * 1000.0 / static_cast<double>(contentLength);
  if (!std::isfinite(p)) return 0;
  if (p >= 2147483647.0) return INT32_MAX;
  if (p <= -2147483648.0) return INT32_MIN;
  return static_cast<int32_t>(p);
}

int32_t StoredPosition(int32_t permille) {
  return permille < 0 ? 0 : permille > 32767 ? 32767 : permille;
}

Text ProgressText(int32_t storedPosition) {
  const int64_t percent = static_cast<int64_t>(std::floor(storedPosition / 10.0 + 0.5));
  return kDownloadingText + DecimalText(percent) + "%";
}

bool ProgressMailbox::Store(int32_t contentLength, int32_t bytesSoFar) {
  contentLength_.store(contentLength);
  bytesSoFar_.store(bytesSoFar);
  fresh_.store(true);
  return !pending_.exchange(true);
}

bool ProgressMailbox::Take(int32_t* contentLength, int32_t* bytesSoFar) {
  pending_.store(false);  // a report stored from now on sends a new notice
  if (!fresh_.exchange(false)) return false;
  *contentLength = contentLength_.load();
  *bytesSoFar = bytesSoFar_.load();
  return true;
}

DownloadVerdict JudgeDownload(int32_t result, int64_t announcedLength, int64_t fileSize) {
  if (result != 0) return DownloadVerdict::kFailed;
  if (announcedLength > 0)
    return fileSize == announcedLength ? DownloadVerdict::kComplete : DownloadVerdict::kFailed;
  return fileSize >= 1 ? DownloadVerdict::kComplete : DownloadVerdict::kFailed;
}

}  // namespace setup
