// Reading and writing documents as image files. The format follows the file
// name's extension:
//   .png            8-bit grey, grey+alpha, RGB, RGB+alpha (read: also 16-bit)
//   .pam            8- or 16-bit, any mode (PAM, maxval 255 or 65535)
//   .pgm .ppm .pnm  8- or 16-bit grey or RGB
//   .pfm            32-bit float grey or RGB
// Reading accepts whatever stb_image reads (PNG, JPEG, BMP, PNM, ...).
#pragma once

#include <string>

#include "host/lib/document.h"
#include "host/lib/outcome.h"

namespace gridsmith::hosting {

// 8- or 16-bit files become 8- or 16-bit documents of 1 to 4 channels.
Outcome<Document> ReadImage(const std::string& path);

// Empty when `path`'s format can hold `document`, else why not.
std::string CheckWritable(const Document& document, const std::string& path);

// Empty on success, else why the file was not written.
std::string WriteImage(const Document& document, const std::string& path);

// The extension (with its dot) that can hold `document`.
const char* NaturalExtension(const Document& document);

}  // namespace gridsmith::hosting
