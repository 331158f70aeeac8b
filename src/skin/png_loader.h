// GDI+ images from bytes held in memory (the program's own PNG data).
#pragma once

#include <windows.h>
#include <objidl.h>

#include "base/text.h"
#include "skin/png_control.h"

namespace setup {

// A global memory block with a copy of some bytes and an IStream over it.
// Freed with the object; an image decoded from the stream keeps reading it, so
// the object must live as long as that image.
class GlobalMemoryStream {
 public:
  GlobalMemoryStream() = default;
  ~GlobalMemoryStream();
  GlobalMemoryStream(const GlobalMemoryStream&) = delete;
  GlobalMemoryStream& operator=(const GlobalMemoryStream&) = delete;

  // Copies `bytes` into a new block (freeing any earlier block and stream) and
  // opens a stream over it; null when no stream could be made.
  IStream* Open(const Bytes& bytes);
  IStream* stream() const { return stream_; }

 private:
  void Close();
  HGLOBAL block_ = nullptr;
  IStream* stream_ = nullptr;
};

// Decodes an image (PNG, or anything GDI+ reads) and makes its first frame the
// current one; null when the bytes cannot be decoded. The image and the memory
// behind it live until the process ends.
ImageHandle LoadImageFromBytes(const Bytes& bytes);

}  // namespace setup
