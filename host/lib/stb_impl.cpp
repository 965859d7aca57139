// The one translation unit that compiles stb's image reader (for the formats
// libtiff and libpng do not cover: JPEG, BMP, GIF, TGA, PNM, ...) and writer
// (the scripted user's screenshots).
#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WINDOWS_UTF8
#define STBIW_WINDOWS_UTF8
#define STBI_FAILURE_USERMSG
#include <stb_image.h>
#include <stb_image_write.h>
