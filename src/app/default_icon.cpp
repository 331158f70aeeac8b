#include "app/default_icon.h"

extern const unsigned char default_icon_data[];
extern const unsigned default_icon_data_size;

namespace setup {

Bytes DefaultIcon() {
  return Bytes(default_icon_data, default_icon_data + default_icon_data_size);
}

}  // namespace setup
