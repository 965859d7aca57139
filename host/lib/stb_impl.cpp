// The one translation unit that compiles stb's image reader (the formats
// libtiff and libpng do not cover: JPEG, BMP, GIF, TGA, PNM, ...).
#define STB_IMAGE_IMPLEMENTATION
#define STBI_WINDOWS_UTF8
#define STBI_FAILURE_USERMSG
#include <stb_image.h>
