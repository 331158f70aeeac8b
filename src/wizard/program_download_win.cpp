#include <windows.h>

#include "base/file_io.h"
#include "base/sha256.h"
#include "wizard/program_download.h"

namespace setup {

namespace {

class WinProgramFiles : public ProgramFiles {
 public:
  int64_t FileSize(const Text& path) override { return ReadableFileSize(path); }
  bool Remove(const Text& path) override { return DeleteFileA(path.c_str()) != FALSE; }
  bool MoveReplacing(const Text& from, const Text& to) override {
    return MoveFileExA(from.c_str(), to.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
  }
  Text Sha256Hex(const Text& path) override { return Sha256OfFile(path); }
  void Pause(uint32_t ms) override { Sleep(ms); }
};

}  // namespace

ProgramFiles& SystemProgramFiles() {
  static WinProgramFiles files;
  return files;
}

}  // namespace setup
