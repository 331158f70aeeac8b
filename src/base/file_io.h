// Whole-file reads and writes. Files are written whole: created or truncated,
// written, closed.
#pragma once

#include "base/text.h"

namespace setup {

// The whole file; empty when it cannot be read.
Bytes ReadWholeFile(const Text& path);

// The size of a file that can be opened for reading; -1 when it cannot.
int64_t ReadableFileSize(const Text& path);

// Creates or truncates `path` and writes `data`; false when any step fails.
bool WriteWholeFile(const Text& path, const Bytes& data);

}  // namespace setup
