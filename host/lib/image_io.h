// Reading and writing documents as image files. The output format follows
// the file name's extension:
//   .tif .tiff      8/16-bit integer or 32-bit float, every mode (libtiff)
//   .png            8/16-bit grey, grey+alpha, RGB, RGB+alpha (libpng)
//   .pam            8/16-bit, every mode (PAM, maxval 255 or 65535)
//   .pgm .ppm .pnm  8/16-bit grey or RGB
//   .pfm            32-bit float grey or RGB
// Reading takes the format the file's first bytes name, whatever its name
// says: TIFF, PNG and JPEG through libtiff, libpng and libjpeg-turbo, BMP and
// binary PGM/PPM through readers of the host's own. Any other is refused by name.
#pragma once

#include <optional>
#include <string>

#include "host/lib/document.h"
#include "host/lib/image_formats.h"
#include "host/lib/outcome.h"

namespace gridsmith::hosting {

// The document at the file's depth, or converted to `depth` when given.
Outcome<Document> ReadImage(const std::string& path, std::optional<int> depth = std::nullopt);

// The size of what ReadImage would hold, read from the file's header alone.
Outcome<ImageShape> ProbeImage(const std::string& path);

// Empty when `path`'s format can hold an image of this mode and depth, else why not.
std::string CheckWritable(ColourMode mode, int depth, const std::string& path);
std::string CheckWritable(const Document& document, const std::string& path);

// Empty when `extension` (".tif") names a format the host writes.
std::string CheckOutputExtension(const std::string& extension);

// Empty on success, else why the file was not written. The file is replaced
// whole or keeps its bytes, and nothing else is left behind.
std::string WriteImage(const Document& document, const std::string& path, const WriteOptions& options = {});

// The extension (with its dot) of the usual format for `document`.
const char* NaturalExtension(const Document& document);

// The lower-case extension of `path`, with its dot.
std::string ExtensionOf(const std::string& path);

}  // namespace gridsmith::hosting
