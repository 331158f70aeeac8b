// Running copies of the application: found by executable file name before
// the wizard opens, and ended when the user agrees.
#pragma once

#include <cstdint>
#include <vector>

#include "base/text.h"

namespace setup {

struct ProcessEntry {
  uint32_t pid = 0;
  Text exeFile;  // file name without its folder
};

// Whole-name equality of an executable file name with `app_name` + ".exe",
// ASCII letters folded, double-byte characters compared byte for byte.
bool IsCopyOf(const Text& exeFile, const Text& appName);

// Appends to `list`, in snapshot order, the ids of the entries that are copies
// of `appName`, except `ownPid`; returns the number of ids the list then holds.
int32_t AppendRunningCopies(const std::vector<ProcessEntry>& snapshot, const Text& appName,
                            uint32_t ownPid, std::vector<int32_t>& list);

// The processes running now (Tool Help snapshot; empty when none can be taken).
std::vector<ProcessEntry> ProcessSnapshot();

// Appends the running copies of the installed application (app_name of the
// state) and returns the number of ids in the list.
int32_t FindRunningCopies(std::vector<int32_t>& list);

// Ends the process with exit code 0, without waiting; true when the system
// reports success.
bool EndProcess(int32_t pid);

}  // namespace setup
