#include "skin/caption_buttons.h"

#include "skin/caption_images.h"
#include "skin/png_control.h"
#include "skin/png_loader.h"

namespace setup {

namespace {

// Light glyph when normal; the dark one, as an image of its own per state.
bool SkinButton(PngControl& control, HWND button, CaptionImage light, CaptionImage dark) {
  if (!control.AttachButton(button)) return false;
  const ImageHandle normal = LoadImageFromBytes(CaptionImageBytes(light));
  const ImageHandle hover = LoadImageFromBytes(CaptionImageBytes(dark));
  const ImageHandle pressed = LoadImageFromBytes(CaptionImageBytes(dark));
  const ImageHandle disabled = LoadImageFromBytes(CaptionImageBytes(dark));
  control.SetImages(normal, hover, pressed, disabled);
  control.SetBackType(kPlaceFit);
  return true;
}

}  // namespace

bool SkinCaptionButtons(HWND closeButton, HWND minimiseButton) {
  PngControl control;
  const bool close =
      SkinButton(control, closeButton, CaptionImage::kCloseLight, CaptionImage::kCloseDark);
  const bool minimise = SkinButton(control, minimiseButton, CaptionImage::kMinimiseLight,
                                   CaptionImage::kMinimiseDark);
  return close && minimise;
}

}  // namespace setup
