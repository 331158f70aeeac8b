#include "proc/running_copies.h"

namespace setup {

bool IsCopyOf(const Text& exeFile, const Text& appName) {
  return AsciiLower(exeFile) == AsciiLower(appName + ".exe");
}

int32_t AppendRunningCopies(const std::vector<ProcessEntry>& snapshot, const Text& appName,
                            uint32_t ownPid, std::vector<int32_t>& list) {
  for (const ProcessEntry& entry : snapshot) {
    if (entry.pid != ownPid && IsCopyOf(entry.exeFile, appName))
      list.push_back(static_cast<int32_t>(entry.pid));
  }
  return static_cast<int32_t>(list.size());
}

}  // namespace setup
