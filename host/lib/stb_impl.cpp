// The one translation unit that compiles stb's image reader and writer.
#define STB_IMAGE_IMPLEMENTATION
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WINDOWS_UTF8
#define STBIW_WINDOWS_UTF8
#define STBI_FAILURE_USERMSG
#include <stb_image.h>
#include <stb_image_write.h>
