// Downloads: GET /files/<name> serves a file of the --files folder, GET /gen/<bytes>[/<name>]
// a generated file of that size (byte i is i % 251), streamed without storing it. Both honour
// "Range: bytes=N-" (with or without a space after the colon), "bytes=N-M" and "bytes=-N", and
// apply the fault of the first catalogue rule that matches the request.
#pragma once

#include <cstdint>
#include <string>

#include "catalogue.h"
#include "connection.h"

namespace refserver {

void AddFileRoutes(Server& server, const Catalogue& catalogue, const std::string& files_dir);

inline unsigned char GeneratedByte(uint64_t offset) {
  return static_cast<unsigned char>(offset % 251);
}

// The SHA-256 (64 lower-case hexadecimal digits) of what GET `path` serves,
// "/files/<name>" or "/gen/<bytes>"; empty when there is no such file.
std::string BodyDigest(const std::string& files_dir, const std::string& path);

enum class RangeKind { kWhole, kPartial, kUnsatisfiable };

// Reads a Range header value for a body of `size` bytes. For kPartial sets [*first, *end).
// Anything not understood, and lists of ranges, mean the whole body.
RangeKind ParseRange(const std::string& value, uint64_t size, uint64_t* first, uint64_t* end);

}  // namespace refserver
