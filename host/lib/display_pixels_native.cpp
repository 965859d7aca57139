#include "host/lib/display_pixels.h"

namespace gridsmith::hosting {

// Natively there is no device context; tests paint into an RgbImage.
bool PaintToDevice(void*, const RgbImage&, int32_t, int32_t) { return false; }
bool DeviceBounds(void*, host::VRect&) { return false; }

}  // namespace gridsmith::hosting
