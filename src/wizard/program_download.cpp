#include "wizard/program_download.h"

#include "base/sha256.h"
#include "wizard/progress.h"

namespace setup {

const uint32_t kResumePauseMs[kResumeAttempts] = {500, 1000, 2000};

namespace {

// Turns each attempt's reports into reports about the whole file: a resumed
// reply announces only the rest, so its length is added to where it starts.
class ProgressRelay {
 public:
  ProgressRelay(DownloadProgress progress, void* context)
      : progress_(progress), context_(context) {}

  static void Forward(void* self, int32_t contentLength, int32_t bytesSoFar, int32_t elapsedMs,
                      int32_t bytesThisCall) {
    auto* relay = static_cast<ProgressRelay*>(self);
    relay->Note(bytesSoFar - bytesThisCall, static_cast<uint32_t>(contentLength));
    if (relay->progress_)
      relay->progress_(relay->context_, static_cast<int32_t>(relay->total_), bytesSoFar, elapsedMs,
                       bytesThisCall);
  }

  void Note(int64_t start, uint32_t contentLength) {
    if (contentLength > 0) total_ = start + contentLength;
  }
  int64_t total() const { return total_; }

 private:
  DownloadProgress progress_;
  void* context_;
  int64_t total_ = 0;  // the whole file's length; 0 while unknown
};

bool IsWhole(int32_t result, const DownloadOutcome& outcome, int64_t total, int64_t size) {
  // A read that fails after the last byte still leaves the whole file.
  const bool ended = result == 0 || (outcome.failure == DownloadFailure::kRead && total > 0);
  return ended && JudgeDownload(0, total, size) == DownloadVerdict::kComplete;
}

// Whether another attempt may mend the failure: the transfer broke off, or a
// resumed attempt could not reach the server again.
bool IsTransient(int32_t result, const DownloadOutcome& outcome, int64_t total, int64_t size,
                 bool resuming) {
  if (result == 0) return total > 0 && size < total;  // the connection closed early
  switch (outcome.failure) {
    case DownloadFailure::kRead:
      return true;
    case DownloadFailure::kNoInternet:
    case DownloadFailure::kCannotOpenUrl:
      return resuming;
    default:
      return false;
  }
}

}  // namespace

Text PartialPath(const Text& targetPath) {
  return targetPath + ".partial";
}

ProgramFailure PlaceVerified(ProgramFiles& disk, const Text& partialPath, const Text& targetPath,
                             const Text& expectedSha256) {
  ProgramFailure failure = ProgramFailure::kNone;
  // A digest that is not 64 hexadecimal digits matches no file.
  if (!expectedSha256.empty() && !SameSha256(disk.Sha256Hex(partialPath), expectedSha256))
    failure = ProgramFailure::kDigestMismatch;
  else if (!disk.MoveReplacing(partialPath, targetPath))
    failure = ProgramFailure::kCannotPlace;
  if (failure != ProgramFailure::kNone) disk.Remove(partialPath);
  return failure;
}

ProgramDownload DownloadProgram(InternetApi& net, DownloadFileApi& files, ProgramFiles& disk,
                                const Text& url, const Text& targetPath, const Text& expectedSha256,
                                DownloadProgress progress, void* context) {
  const Text partial = PartialPath(targetPath);
  ProgressRelay relay(progress, context);
  ProgramDownload run;
  DownloadOutcome outcome;
  int32_t result = DownloadToFile(net, files, url, partial, ProgressRelay::Forward, &relay, 0,
                                  false, nullptr, &outcome);
  for (;;) {
    relay.Note(outcome.startOffset, outcome.contentLength);
    run.restarted = run.restarted || outcome.restarted;
    run.size = disk.FileSize(partial);
    if (IsWhole(result, outcome, relay.total(), run.size)) break;
    if (!IsTransient(result, outcome, relay.total(), run.size, run.resumes > 0)) {
      run.failure = result == 0 ? ProgramFailure::kIncomplete : ProgramFailure::kDownload;
    } else if (run.resumes == kResumeAttempts) {
      run.failure = ProgramFailure::kBrokenOff;
    }
    if (run.failure != ProgramFailure::kNone) {
      disk.Remove(partial);
      return run;
    }
    disk.Pause(kResumePauseMs[run.resumes++]);
    // Resumed from the bytes on disk; more than the whole file means the part
    // on disk is of another file.
    const bool fresh =
        run.size <= 0 || run.size > INT32_MAX || (relay.total() > 0 && run.size > relay.total());
    result = DownloadToFile(net, files, url, partial, ProgressRelay::Forward, &relay,
                            fresh ? 0 : static_cast<int32_t>(run.size), !fresh, nullptr, &outcome);
  }
  run.failure = PlaceVerified(disk, partial, targetPath, expectedSha256);
  return run;
}

}  // namespace setup
