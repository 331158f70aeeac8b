// Owners for the GDI and GDI+ objects of one drawing step: each releases its
// object when the step ends, on every path.
#pragma once

#include <windows.h>

#include "skin/gdiplus_api.h"

namespace setup {

// A DC from GetDC or GetWindowDC, given back with ReleaseDC.
class WindowDc {
 public:
  WindowDc(HWND window, bool wholeWindow)
      : window_(window), dc_(wholeWindow ? GetWindowDC(window) : GetDC(window)) {}
  ~WindowDc() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// A memory DC compatible with another one.
class MemoryDc {
 public:
  explicit MemoryDc(HDC compatibleWith) : dc_(CreateCompatibleDC(compatibleWith)) {}
  ~MemoryDc() {
    if (dc_) DeleteDC(dc_);
  }
  MemoryDc(const MemoryDc&) = delete;
  MemoryDc& operator=(const MemoryDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HDC dc_;
};

// A GDI object deleted at the end, unless released to a new owner.
class GdiObject {
 public:
  explicit GdiObject(HGDIOBJ object) : object_(object) {}
  ~GdiObject() {
    if (object_) DeleteObject(object_);
  }
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;
  HGDIOBJ get() const { return object_; }
  HGDIOBJ release() {
    HGDIOBJ o = object_;
    object_ = nullptr;
    return o;
  }

 private:
  HGDIOBJ object_;
};

// An object selected into a DC; the previous one is selected back at the end.
class Selection {
 public:
  Selection(HDC dc, HGDIOBJ object)
      : dc_(dc), previous_(dc && object ? SelectObject(dc, object) : nullptr) {}
  ~Selection() {
    if (previous_) SelectObject(dc_, previous_);
  }
  Selection(const Selection&) = delete;
  Selection& operator=(const Selection&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// A GDI+ graphics object on a DC.
class ScopedGraphics {
 public:
  explicit ScopedGraphics(HDC dc) {
    if (dc) Gdiplus::DllExports::GdipCreateFromHDC(dc, &graphics_);
  }
  ~ScopedGraphics() {
    if (graphics_) Gdiplus::DllExports::GdipDeleteGraphics(graphics_);
  }
  ScopedGraphics(const ScopedGraphics&) = delete;
  ScopedGraphics& operator=(const ScopedGraphics&) = delete;
  GpGraphics* get() const { return graphics_; }

 private:
  GpGraphics* graphics_ = nullptr;
};

// A GDI+ pen.
class ScopedPen {
 public:
  ScopedPen(Gdiplus::ARGB colour, float width) {
    Gdiplus::DllExports::GdipCreatePen1(colour, width, Gdiplus::UnitPixel, &pen_);
  }
  ~ScopedPen() {
    if (pen_) Gdiplus::DllExports::GdipDeletePen(pen_);
  }
  ScopedPen(const ScopedPen&) = delete;
  ScopedPen& operator=(const ScopedPen&) = delete;
  GpPen* get() const { return pen_; }

 private:
  GpPen* pen_ = nullptr;
};

// A GDI+ bitmap made from a GDI bitmap.
class BitmapFromGdi {
 public:
  explicit BitmapFromGdi(HBITMAP bitmap) {
    if (bitmap) Gdiplus::DllExports::GdipCreateBitmapFromHBITMAP(bitmap, nullptr, &bitmap_);
  }
  ~BitmapFromGdi() {
    if (bitmap_) Gdiplus::DllExports::GdipDisposeImage(bitmap_);
  }
  BitmapFromGdi(const BitmapFromGdi&) = delete;
  BitmapFromGdi& operator=(const BitmapFromGdi&) = delete;
  GpBitmap* get() const { return bitmap_; }

 private:
  GpBitmap* bitmap_ = nullptr;
};

}  // namespace setup
