// The one translation unit that compiles stb's image writer (the scripted
// user's screenshots).
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBIW_WINDOWS_UTF8
#include <stb_image_write.h>
