#include "host/lib/image_io.h"

#include <stb_image.h>
#include <stb_image_write.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>

namespace gridsmith::hosting {
namespace {

using ImageData = std::unique_ptr<void, void (*)(void*)>;

std::string Extension(const std::string& path) {
    std::string ext = std::filesystem::u8path(path).extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return ext;
}

bool IsCmyk(ColourMode mode) { return mode == ColourMode::Cmyk || mode == ColourMode::CmykAlpha; }

// Host 16-bit samples run 0..32768; files use 0..65535.
uint16_t ToFileSixteen(double value) {
    const double scaled = std::min(value, 32768.0) * 65535.0 / 32768.0;
    return uint16_t(scaled + 0.5);
}
uint16_t FromFileSixteen(uint16_t value) { return uint16_t((uint32_t(value) * 32768 + 32767) / 65535); }

std::string Describe(const Document& d) {
    return std::to_string(d.Depth()) + "-bit " + ModeName(d.Mode());
}

// ---- writers of formats stb does not write ------------------------------------------

// Netpbm samples: one or two bytes each, big-endian.
std::vector<uint8_t> NetpbmSamples(const Document& d) {
    std::vector<uint8_t> out;
    out.reserve(size_t(d.Width()) * size_t(d.Height()) * size_t(d.Planes()) * size_t(d.BytesPerSample()));
    for (int32_t y = 0; y < d.Height(); ++y)
        for (int32_t x = 0; x < d.Width(); ++x)
            for (int p = 0; p < d.Planes(); ++p) {
                if (d.Depth() == 8) {
                    out.push_back(uint8_t(d.Sample(x, y, p)));
                    continue;
                }
                const uint16_t v = ToFileSixteen(d.Sample(x, y, p));
                out.push_back(uint8_t(v >> 8));
                out.push_back(uint8_t(v));
            }
    return out;
}

const char* TupleType(ColourMode mode) {
    switch (mode) {
    case ColourMode::Gray: return "GRAYSCALE";
    case ColourMode::GrayAlpha: return "GRAYSCALE_ALPHA";
    case ColourMode::Rgb: return "RGB";
    case ColourMode::RgbAlpha: return "RGB_ALPHA";
    case ColourMode::Cmyk: return "CMYK";
    default: return "CMYK_ALPHA";
    }
}

std::string NetpbmHeader(const Document& d, bool pam) {
    const std::string size = std::to_string(d.Width()) + " " + std::to_string(d.Height());
    const std::string maxval = d.Depth() == 8 ? "255" : "65535";
    if (!pam) return std::string(d.Planes() == 1 ? "P5" : "P6") + "\n" + size + "\n" + maxval + "\n";
    return "P7\nWIDTH " + std::to_string(d.Width()) + "\nHEIGHT " + std::to_string(d.Height()) +
           "\nDEPTH " + std::to_string(d.Planes()) + "\nMAXVAL " + maxval + "\nTUPLTYPE " +
           TupleType(d.Mode()) + "\nENDHDR\n";
}

// PFM: little-endian floats (negative scale), rows from the bottom up.
std::vector<uint8_t> PfmSamples(const Document& d) {
    std::vector<uint8_t> out;
    out.reserve(d.Bytes().size());
    for (int32_t y = d.Height() - 1; y >= 0; --y)
        for (int32_t x = 0; x < d.Width(); ++x)
            for (int p = 0; p < d.Planes(); ++p) {
                const float v = float(d.Sample(x, y, p));
                uint32_t bits;
                std::memcpy(&bits, &v, sizeof bits);
                for (int shift = 0; shift < 32; shift += 8) out.push_back(uint8_t(bits >> shift));
            }
    return out;
}

std::string PfmHeader(const Document& d) {
    return std::string(d.Planes() == 1 ? "Pf" : "PF") + "\n" + std::to_string(d.Width()) + " " +
           std::to_string(d.Height()) + "\n-1.0\n";
}

std::string WriteFile(const std::string& path, const std::string& header,
                      const std::vector<uint8_t>& body) {
    std::ofstream file(std::filesystem::u8path(path), std::ios::binary);
    file.write(header.data(), std::streamsize(header.size()));
    file.write(reinterpret_cast<const char*>(body.data()), std::streamsize(body.size()));
    file.close();
    return file ? std::string() : "cannot write " + path;
}

// ---- format choice --------------------------------------------------------------------

std::string Unsupported(const Document& d, const std::string& ext, const char* holds) {
    return "a " + Describe(d) + " image cannot be written as " + ext + " (" + ext + " holds " +
           holds + ")";
}

// Empty when `ext` can hold `d`, else why not.
std::string FormatProblem(const Document& d, const std::string& ext) {
    const bool grey = d.Mode() == ColourMode::Gray;
    const bool rgb = d.Mode() == ColourMode::Rgb;
    if (ext == ".png") {
        if (d.Depth() != 8 || IsCmyk(d.Mode()))
            return Unsupported(d, ext, "8-bit grey or RGB, with or without alpha; try .pam");
        return {};
    }
    if (ext == ".pam" || ext == ".pgm" || ext == ".ppm" || ext == ".pnm") {
        if (d.Depth() == 32) return Unsupported(d, ext, "8- or 16-bit samples; try .pfm");
        if (ext == ".pgm" && !grey) return Unsupported(d, ext, "grey");
        if (ext == ".ppm" && !rgb) return Unsupported(d, ext, "RGB");
        if (ext == ".pnm" && !grey && !rgb) return Unsupported(d, ext, "grey or RGB");
        return {};
    }
    if (ext == ".pfm") {
        if (d.Depth() != 32 || (!grey && !rgb)) return Unsupported(d, ext, "32-bit grey or RGB");
        return {};
    }
    return "unknown image format '" + ext + "' (use .png, .pam, .pgm, .ppm, .pnm or .pfm)";
}

}  // namespace

Outcome<Document> ReadImage(const std::string& path) {
    using Result = Outcome<Document>;
    int width = 0, height = 0, channels = 0;
    const bool sixteen = stbi_is_16_bit(path.c_str()) != 0;
    ImageData pixels(sixteen ? static_cast<void*>(stbi_load_16(path.c_str(), &width, &height, &channels, 0))
                             : static_cast<void*>(stbi_load(path.c_str(), &width, &height, &channels, 0)),
                     &stbi_image_free);
    if (!pixels) {
        const char* reason = stbi_failure_reason();
        return Result::Failure("cannot read " + path + ": " + (reason ? reason : "unknown format"));
    }
    if (channels < 1 || channels > 4)
        return Result::Failure(path + " has " + std::to_string(channels) + " channels");
    Outcome<Document> created = Document::Create(width, height, ModeForChannels(channels), sixteen ? 16 : 8);
    if (!created.ok()) return Result::Failure(path + ": " + created.error);
    Document& document = created.value;
    if (!sixteen) {
        std::memcpy(document.Bytes().data(), pixels.get(), document.Bytes().size());
        return created;
    }
    const uint16_t* from = static_cast<const uint16_t*>(pixels.get());
    for (size_t i = 0; i < document.Bytes().size() / 2; ++i) {
        const uint16_t v = FromFileSixteen(from[i]);
        std::memcpy(document.Bytes().data() + 2 * i, &v, 2);
    }
    return created;
}

std::string CheckWritable(const Document& document, const std::string& path) {
    const std::string problem = FormatProblem(document, Extension(path));
    return problem.empty() ? problem : "cannot write " + path + ": " + problem;
}

std::string WriteImage(const Document& d, const std::string& path) {
    if (std::string problem = CheckWritable(d, path); !problem.empty()) return problem;
    const std::string ext = Extension(path);
    if (ext == ".png") {
        const int ok = stbi_write_png(path.c_str(), d.Width(), d.Height(), d.Planes(), d.Bytes().data(),
                                      int(d.RowBytes()));
        return ok ? std::string() : "cannot write " + path;
    }
    if (ext == ".pfm") return WriteFile(path, PfmHeader(d), PfmSamples(d));
    return WriteFile(path, NetpbmHeader(d, ext == ".pam"), NetpbmSamples(d));
}

const char* NaturalExtension(const Document& document) {
    if (document.Depth() == 32) return ".pfm";
    if (document.Depth() == 8 && !IsCmyk(document.Mode())) return ".png";
    return ".pam";
}

}  // namespace gridsmith::hosting
