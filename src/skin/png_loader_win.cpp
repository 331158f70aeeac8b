#include "skin/png_loader.h"

#include <cstring>

#include "skin/gdiplus_api.h"
#include "skin/graphics_startup.h"

namespace setup {

GlobalMemoryStream::~GlobalMemoryStream() {
  Close();
}

void GlobalMemoryStream::Close() {
  if (stream_) stream_->Release();
  stream_ = nullptr;
  if (block_) GlobalFree(block_);
  block_ = nullptr;
}

IStream* GlobalMemoryStream::Open(const Bytes& bytes) {
  Close();
  block_ = GlobalAlloc(GMEM_FIXED, bytes.size());
  if (!block_) return nullptr;
  if (void* p = GlobalLock(block_)) {
    if (!bytes.empty()) std::memcpy(p, bytes.data(), bytes.size());
    GlobalUnlock(block_);
  }
  // The block stays ours: the stream must not free it when it is released.
  if (CreateStreamOnHGlobal(block_, FALSE, &stream_) != S_OK) stream_ = nullptr;
  return stream_;
}

ImageHandle LoadImageFromBytes(const Bytes& bytes) {
  // Kept for as long as the image: GDI+ reads the stream after the load.
  GlobalMemoryStream* memory = new GlobalMemoryStream();
  IStream* stream = memory->Open(bytes);
  GpImage* image = nullptr;
  if (!stream || Gdiplus::DllExports::GdipLoadImageFromStream(stream, &image) != Gdiplus::Ok) {
    delete memory;
    return nullptr;
  }
  if (const GUID* time = FrameDimensionTime())
    Gdiplus::DllExports::GdipImageSelectActiveFrame(image, time, 0);
  return image;
}

}  // namespace setup
