// The install run's download of the program: into a file beside the target,
// resumed when the transfer breaks off, checked against the announced size
// and digest, and only then moved to the target path.
#pragma once

#include <cstdint>

#include "base/text.h"
#include "net/download.h"

namespace setup {

// The file operations and the pause the download of the program needs.
class ProgramFiles {
 public:
  virtual ~ProgramFiles() = default;
  virtual int64_t FileSize(const Text& path) = 0;  // -1 when it cannot be read
  virtual bool Remove(const Text& path) = 0;
  // Moves `from` onto `to`, replacing a file there.
  virtual bool MoveReplacing(const Text& from, const Text& to) = 0;
  virtual Text Sha256Hex(const Text& path) = 0;  // empty when it cannot be read
  virtual void Pause(uint32_t ms) = 0;
};

// The platform's files (Windows only).
ProgramFiles& SystemProgramFiles();

// How often a broken transfer is resumed, and the pause before each attempt.
constexpr int kResumeAttempts = 3;
extern const uint32_t kResumePauseMs[kResumeAttempts];

// Where the program is written until it is whole and checked.
Text PartialPath(const Text& targetPath);

enum class ProgramFailure {
  kNone,
  kDownload,        // the download failed in a way that retrying does not mend
  kBrokenOff,       // the transfer broke off more often than it may be resumed
  kIncomplete,      // the file does not hold the announced size
  kDigestMismatch,  // the file is not the one the server announced
  kCannotPlace,     // the file could not be moved to the target path
};

struct ProgramDownload {
  ProgramFailure failure = ProgramFailure::kNone;
  int resumes = 0;         // resumed attempts made
  bool restarted = false;  // a resume got the whole file instead of the rest
  int64_t size = 0;        // bytes of the finished file
  bool ok() const { return failure == ProgramFailure::kNone; }
};

// Downloads `url` into PartialPath(target) and, when complete and matching
// `expectedSha256` (when not empty), moves it to `target`. The progress
// callback sees the whole file's length and the bytes on disk, across resumes.
// On failure no file is left at the partial path and the target is untouched.
ProgramDownload DownloadProgram(InternetApi& net, DownloadFileApi& files, ProgramFiles& disk,
                                const Text& url, const Text& targetPath, const Text& expectedSha256,
                                DownloadProgress progress, void* context);

// Checks the whole file at `partialPath` against `expectedSha256` (when not
// empty) and moves it to `targetPath`; removes it when that fails.
ProgramFailure PlaceVerified(ProgramFiles& disk, const Text& partialPath, const Text& targetPath,
                             const Text& expectedSha256);

}  // namespace setup
