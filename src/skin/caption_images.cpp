#include "skin/caption_images.h"

extern const unsigned char caption_close_light_png[];
extern const unsigned caption_close_light_png_size;
extern const unsigned char caption_close_dark_png[];
extern const unsigned caption_close_dark_png_size;
extern const unsigned char caption_minimise_light_png[];
extern const unsigned caption_minimise_light_png_size;
extern const unsigned char caption_minimise_dark_png[];
extern const unsigned caption_minimise_dark_png_size;

namespace setup {

Bytes CaptionImageBytes(CaptionImage image) {
  switch (image) {
    case CaptionImage::kCloseLight:
      return Bytes(caption_close_light_png, caption_close_light_png + caption_close_light_png_size);
    case CaptionImage::kCloseDark:
      return Bytes(caption_close_dark_png, caption_close_dark_png + caption_close_dark_png_size);
    case CaptionImage::kMinimiseLight:
      return Bytes(caption_minimise_light_png,
                   caption_minimise_light_png + caption_minimise_light_png_size);
    case CaptionImage::kMinimiseDark:
      return Bytes(caption_minimise_dark_png,
                   caption_minimise_dark_png + caption_minimise_dark_png_size);
  }
  return Bytes();
}

}  // namespace setup
