#include "host/lib/image_io.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <memory>
#include <vector>

#include "host/files/replacing_file.h"
#include "host/lib/sample_rows.h"

namespace gridsmith::hosting {
namespace {

constexpr const char* kOutputExtensions = ".tif, .tiff, .png, .pam, .pgm, .ppm, .pnm or .pfm";


std::string Describe(ColourMode mode, int depth) { return std::to_string(depth) + "-bit " + ModeName(mode); }

// ---- Netpbm and PFM, written here row by row ----------------------------------------

const char* TupleType(ColourMode mode) {
    switch (mode) {
    case ColourMode::Gray: return "GRAYSCALE";
    case ColourMode::GrayAlpha: return "GRAYSCALE_ALPHA";
    case ColourMode::Rgb: return "RGB";
    case ColourMode::RgbAlpha: return "RGB_ALPHA";
    case ColourMode::Cmyk: return "CMYK";
    case ColourMode::CmykAlpha: return "CMYK_ALPHA";
    case ColourMode::Lab: return "LAB";
    case ColourMode::LabAlpha: return "LAB_ALPHA";
    case ColourMode::Duotone: return "GRAYSCALE";
    default: return "MULTICHANNEL";
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

// Netpbm samples: one byte, or two big-endian bytes in 0..65535.
void NetpbmRow(const Document& d, int32_t y, std::vector<uint8_t>& out) {
    const size_t samples = size_t(d.Width()) * size_t(d.Planes());
    if (d.Depth() == 8) {
        std::memcpy(out.data(), d.Row(y), samples);
        return;
    }
    ConvertSamples(d.Row(y), SampleKind::HostWord, out.data(), SampleKind::FileWord, samples);
    for (size_t i = 0; i < samples; ++i) {
        uint16_t v;
        std::memcpy(&v, out.data() + 2 * i, 2);
        out[2 * i] = uint8_t(v >> 8);
        out[2 * i + 1] = uint8_t(v);
    }
}

std::string PfmHeader(const Document& d) {
    return std::string(d.Planes() == 1 ? "Pf" : "PF") + "\n" + std::to_string(d.Width()) + " " +
           std::to_string(d.Height()) + "\n-1.0\n";
}

// PFM: little-endian floats (the negative scale says so), rows from the bottom up.
void PfmRow(const Document& d, int32_t y, std::vector<uint8_t>& out) {
    const uint8_t* row = d.Row(d.Height() - 1 - y);
    for (size_t i = 0; i < out.size(); i += 4) {
        uint32_t bits;
        std::memcpy(&bits, row + i, 4);
        for (int k = 0; k < 4; ++k) out[i + size_t(k)] = uint8_t(bits >> (8 * k));
    }
}

template <typename EncodeRow>
std::string WriteRowsToFile(const Document& d, const std::string& path, const std::string& header,
                            EncodeRow encode) {
    ReplacingFile file(path);
    std::vector<uint8_t> row(d.RowBytes());
    file.Write(header.data(), header.size());
    for (int32_t y = 0; y < d.Height() && file.ok(); ++y) {
        encode(d, y, row);
        file.Write(row.data(), row.size());
    }
    return file.Commit();
}

// ---- format choice --------------------------------------------------------------------

std::string Unsupported(ColourMode mode, int depth, const std::string& ext, const char* holds) {
    return "a " + Describe(mode, depth) + " image cannot be written as " + ext + " (" + ext + " holds " + holds +
           ")";
}

bool IsTiff(const std::string& ext) { return ext == ".tif" || ext == ".tiff"; }

}  // namespace

std::string ExtensionOf(const std::string& path) {
    std::string ext = std::filesystem::u8path(path).extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return ext;
}

std::string CheckOutputExtension(const std::string& ext) {
    static const char* const known[] = {".tif", ".tiff", ".png", ".pam", ".pgm", ".ppm", ".pnm", ".pfm"};
    for (const char* k : known)
        if (ext == k) return {};
    return "unknown image format '" + ext + "' (use " + kOutputExtensions + ")";
}

std::string CheckWritable(ColourMode mode, int depth, const std::string& path) {
    const std::string ext = ExtensionOf(path);
    if (std::string problem = CheckOutputExtension(ext); !problem.empty()) return "cannot write " + path + ": " + problem;
    // Duotone is stored like grey.
    const bool grey = mode == ColourMode::Gray || mode == ColourMode::Duotone;
    const bool rgb = mode == ColourMode::Rgb;
    const bool greyOrRgb = grey || rgb || mode == ColourMode::GrayAlpha || mode == ColourMode::RgbAlpha;
    std::string problem;
    if (ext == ".png") {
        if (!greyOrRgb) problem = Unsupported(mode, depth, ext, "grey or RGB, with or without alpha; try .tif");
        else if (depth == 32) problem = Unsupported(mode, depth, ext, "8 or 16 bits; try .tif or .pfm");
    } else if (ext == ".pam" || ext == ".pgm" || ext == ".ppm" || ext == ".pnm") {
        if (depth == 32) problem = Unsupported(mode, depth, ext, "8- or 16-bit samples; try .tif or .pfm");
        else if (ext == ".pgm" && !grey) problem = Unsupported(mode, depth, ext, "grey");
        else if (ext == ".ppm" && !rgb) problem = Unsupported(mode, depth, ext, "RGB");
        else if (ext == ".pnm" && !grey && !rgb) problem = Unsupported(mode, depth, ext, "grey or RGB");
    } else if (ext == ".pfm") {
        if (depth != 32 || (!grey && !rgb)) problem = Unsupported(mode, depth, ext, "32-bit grey or RGB; try .tif");
    }
    return problem.empty() ? problem : "cannot write " + path + ": " + problem;
}

std::string CheckWritable(const Document& document, const std::string& path) {
    return CheckWritable(document.Mode(), document.Depth(), path);
}

std::string WriteImage(const Document& d, const std::string& path, const WriteOptions& options) {
    if (std::string problem = CheckWritable(d, path); !problem.empty()) return problem;
    const std::string ext = ExtensionOf(path);
    if (IsTiff(ext)) return WriteTiff(d, path, options);
    if (ext == ".png") return WritePng(d, path, options);
    if (ext == ".pfm") return WriteRowsToFile(d, path, PfmHeader(d), &PfmRow);
    return WriteRowsToFile(d, path, NetpbmHeader(d, ext == ".pam"), &NetpbmRow);
}

const char* NaturalExtension(const Document& document) {
    switch (document.Mode()) {
    case ColourMode::Gray:
    case ColourMode::GrayAlpha:
    case ColourMode::Rgb:
    case ColourMode::RgbAlpha:
    case ColourMode::Duotone: return document.Depth() == 32 ? ".tif" : ".png";
    default: return ".tif";
    }
}

}  // namespace gridsmith::hosting
