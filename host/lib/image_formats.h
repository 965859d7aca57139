// The image-file formats behind image_io, one pair of functions each. Every
// reader decodes straight into the document at the file's own depth; every
// writer encodes from the document one row at a time.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "host/lib/document.h"
#include "host/lib/outcome.h"

namespace gridsmith::hosting {

// The zlib level of a compressing writer; -1 asks for the format's default.
struct WriteOptions {
    int compression = -1;
};

// What reading a file would allocate, from its header alone.
struct ImageShape {
    uint32_t width = 0, height = 0;
    int planes = 0;
    int bytesPerSample = 0;

    uint64_t Bytes() const { return uint64_t(width) * height * uint64_t(planes) * uint64_t(bytesPerSample); }
};

Outcome<Document> ReadTiff(const std::string& path);
Outcome<ImageShape> ProbeTiff(const std::string& path);
std::string WriteTiff(const Document& document, const std::string& path, const WriteOptions& options);

Outcome<Document> ReadPng(const std::string& path);
Outcome<ImageShape> ProbePng(const std::string& path);
std::string WritePng(const Document& document, const std::string& path, const WriteOptions& options);

// Formats only read. Each reads the header first and checks the size it
// gives against the file and the document memory limit before it allocates.
Outcome<Document> ReadJpeg(const std::string& path);
Outcome<ImageShape> ProbeJpeg(const std::string& path);
Outcome<Document> ReadBmp(const std::string& path);
Outcome<ImageShape> ProbeBmp(const std::string& path);
Outcome<Document> ReadNetpbm(const std::string& path);  // binary PGM and PPM
Outcome<ImageShape> ProbeNetpbm(const std::string& path);

// fopen with a UTF-8 path, on Windows too.
std::FILE* OpenFile(const std::string& path, const char* mode);

}  // namespace gridsmith::hosting
