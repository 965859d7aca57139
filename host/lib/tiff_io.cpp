// TIFF files through libtiff: 8-, 16-bit integer and 32-bit float samples,
// grey, RGB, CMYK and CIE L*a*b*, each with or without one unassociated
// alpha sample, and three-ink multichannel, in strips. The document holds
// inks as the host does (0 is full ink), the file as TIFF does (0 is no ink),
// so the ink planes are inverted between them; Lab's a and b are offset from
// 128 in the document and signed in the file.
#include <tiffio.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

#include "host/files/replacing_file.h"
#include "host/lib/image_formats.h"
#include "host/lib/sample_rows.h"

namespace gridsmith::hosting {
namespace {

// libtiff's messages for one file, kept instead of printed.
struct TiffMessages {
    std::string first;
};

int KeepError(TIFF*, void* data, const char*, const char* format, va_list arguments) {
    auto* messages = static_cast<TiffMessages*>(data);
    if (messages->first.empty()) {
        char text[512];
        std::vsnprintf(text, sizeof text, format, arguments);
        messages->first = text;
    }
    return 1;
}

int IgnoreWarning(TIFF*, void*, const char*, const char*, va_list) { return 1; }

struct TiffCloser {
    void operator()(TIFF* tiff) const { TIFFClose(tiff); }
};
using TiffFile = std::unique_ptr<TIFF, TiffCloser>;

// Options that keep libtiff's messages in `messages`.
struct MessageOptions {
    explicit MessageOptions(TiffMessages& messages) : options(TIFFOpenOptionsAlloc()) {
        if (!options) return;
        TIFFOpenOptionsSetErrorHandlerExtR(options, &KeepError, &messages);
        TIFFOpenOptionsSetWarningHandlerExtR(options, &IgnoreWarning, nullptr);
    }
    ~MessageOptions() { TIFFOpenOptionsFree(options); }
    MessageOptions(const MessageOptions&) = delete;
    MessageOptions& operator=(const MessageOptions&) = delete;

    TIFFOpenOptions* options;
};

TiffFile OpenTiff(const std::string& path, const char* mode, TiffMessages& messages) {
    const MessageOptions open(messages);
    if (!open.options) return nullptr;
#ifdef _WIN32
    return TiffFile(TIFFOpenWExt(std::filesystem::u8path(path).wstring().c_str(), mode, open.options));
#else
    return TiffFile(TIFFOpenExt(path.c_str(), mode, open.options));
#endif
}

// ---- a new file through a ReplacingFile, which closes it ---------------------------------

ReplacingFile& FileOf(thandle_t handle) { return *static_cast<ReplacingFile*>(handle); }

tmsize_t ReadNothing(thandle_t, void*, tmsize_t) { return 0; }  // a new file is never read back
tmsize_t WriteToFile(thandle_t handle, void* data, tmsize_t size) {
    return FileOf(handle).Write(data, size_t(size)) ? size : -1;
}
toff_t SeekInFile(thandle_t handle, toff_t offset, int whence) {
    return toff_t(FileOf(handle).Seek(int64_t(offset), whence));
}
int CloseNothing(thandle_t) { return 0; }
toff_t SizeOfFile(thandle_t handle) { return toff_t(FileOf(handle).Size()); }
int MapNothing(thandle_t, void**, toff_t*) { return 0; }
void UnmapNothing(thandle_t, void*, toff_t) {}

TiffFile CreateTiff(ReplacingFile& file, TiffMessages& messages) {
    const MessageOptions open(messages);
    if (!open.options) return nullptr;
    return TiffFile(TIFFClientOpenExt(file.Destination().c_str(), "w", &file, &ReadNothing, &WriteToFile,
                                      &SeekInFile, &CloseNothing, &SizeOfFile, &MapNothing, &UnmapNothing,
                                      open.options));
}

std::string Reason(const TiffMessages& messages, const char* fallback) {
    return messages.first.empty() ? fallback : messages.first;
}


// How a mode's colour planes are stored: the photometric interpretation
// (and ink set), how many leading planes hold ink amounts, and whether a and
// b are signed.
struct TiffColour {
    uint16_t photometric;
    uint16_t inkSet;
    int inkPlanes;
    bool signedChroma;
};

TiffColour TiffColourOf(ColourMode mode) {
    switch (mode) {
    case ColourMode::Rgb:
    case ColourMode::RgbAlpha: return {PHOTOMETRIC_RGB, 0, 0, false};
    case ColourMode::Cmyk:
    case ColourMode::CmykAlpha: return {PHOTOMETRIC_SEPARATED, INKSET_CMYK, 4, false};
    case ColourMode::Lab:
    case ColourMode::LabAlpha: return {PHOTOMETRIC_CIELAB, 0, 0, true};
    case ColourMode::Multichannel: return {PHOTOMETRIC_SEPARATED, INKSET_MULTIINK, 3, false};
    default: return {PHOTOMETRIC_MINISBLACK, 0, 0, false};  // grey, and duotone's tone plane
    }
}

// The mode with one alpha plane more, if there is one.
std::optional<ColourMode> WithAlpha(ColourMode mode) {
    switch (mode) {
    case ColourMode::Gray: return ColourMode::GrayAlpha;
    case ColourMode::Rgb: return ColourMode::RgbAlpha;
    case ColourMode::Cmyk: return ColourMode::CmykAlpha;
    case ColourMode::Lab: return ColourMode::LabAlpha;
    default: return std::nullopt;
    }
}

// What a TIFF's tags say about its samples; empty `problem` when the host reads it.
struct TiffLayout {
    uint32_t width = 0, height = 0;
    int depth = 0;
    ColourMode mode = ColourMode::Gray;
    bool separatePlanes = false;
    bool invertFirst = false;  // min-is-white grey
    std::string problem;
};

// The mode of the colour samples, without alpha.
std::string ColourProblem(uint16_t photometric, TIFF* tiff, uint16_t samples, ColourMode& mode, bool& invertFirst) {
    switch (photometric) {
    case PHOTOMETRIC_MINISWHITE: invertFirst = true; [[fallthrough]];
    case PHOTOMETRIC_MINISBLACK: mode = ColourMode::Gray; return {};
    case PHOTOMETRIC_RGB: mode = ColourMode::Rgb; return {};
    case PHOTOMETRIC_CIELAB: mode = ColourMode::Lab; return {};
    case PHOTOMETRIC_SEPARATED: {
        uint16_t inkSet = INKSET_CMYK, inks = samples;
        TIFFGetFieldDefaulted(tiff, TIFFTAG_INKSET, &inkSet);
        TIFFGetField(tiff, TIFFTAG_NUMBEROFINKS, &inks);
        mode = inkSet == INKSET_CMYK ? ColourMode::Cmyk : ColourMode::Multichannel;
        if (inkSet == INKSET_CMYK || (inks == 3 && samples == 3)) return {};
        return "separated inks other than CMYK or three (multichannel) are not read";
    }
    case PHOTOMETRIC_PALETTE: return "palette colours are not read (save as RGB)";
    default:
        return "photometric interpretation " + std::to_string(photometric) +
               " is not read (grey, RGB, CMYK, CIE L*a*b* or three inks are)";
    }
}

std::string SampleProblem(uint16_t bits, uint16_t format) {
    if (bits == 8 || bits == 16) {
        if (format == SAMPLEFORMAT_UINT) return {};
        return std::to_string(bits) + "-bit samples must be unsigned integers";
    }
    if (bits == 32 && format == SAMPLEFORMAT_IEEEFP) return {};
    return std::to_string(bits) + "-bit " + (format == SAMPLEFORMAT_IEEEFP ? "float" : "integer") +
           " samples are not read (8-, 16-bit integer or 32-bit float are)";
}

TiffLayout ReadLayout(TIFF* tiff) {
    TiffLayout layout;
    uint16_t samples = 1, bits = 1, format = SAMPLEFORMAT_UINT, planar = PLANARCONFIG_CONTIG, photometric = 0;
    TIFFGetField(tiff, TIFFTAG_IMAGEWIDTH, &layout.width);
    TIFFGetField(tiff, TIFFTAG_IMAGELENGTH, &layout.height);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLESPERPIXEL, &samples);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLEFORMAT, &format);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_PLANARCONFIG, &planar);
    if (!TIFFGetField(tiff, TIFFTAG_PHOTOMETRIC, &photometric)) {
        layout.problem = "no photometric interpretation";
        return layout;
    }
    if (TIFFIsTiled(tiff)) {
        layout.problem = "tiled TIFF files are not read (save in strips)";
        return layout;
    }
    ColourMode colour = ColourMode::Gray;
    layout.problem = ColourProblem(photometric, tiff, samples, colour, layout.invertFirst);
    if (layout.problem.empty()) layout.problem = SampleProblem(bits, format);
    if (!layout.problem.empty()) return layout;
    const int colourPlanes = ColourPlanes(colour);
    const int extra = int(samples) - colourPlanes;
    if (extra < 0 || extra > (WithAlpha(colour) ? 1 : 0)) {
        layout.problem = std::to_string(samples) + " samples per pixel for " + std::to_string(colourPlanes) +
                         " colour channels (at most one extra, alpha, is read)";
        return layout;
    }
    uint16_t extraCount = 0;
    uint16_t* extraKinds = nullptr;
    if (extra == 1 && TIFFGetField(tiff, TIFFTAG_EXTRASAMPLES, &extraCount, &extraKinds) && extraCount == 1 &&
        extraKinds[0] == EXTRASAMPLE_ASSOCALPHA) {
        layout.problem = "associated (premultiplied) alpha is not read; the host keeps unassociated alpha";
        return layout;
    }
    layout.depth = bits;
    layout.mode = extra == 1 ? *WithAlpha(colour) : colour;
    layout.separatePlanes = planar == PLANARCONFIG_SEPARATE && samples > 1;
    return layout;
}

// File samples to the host's, in place (sizes match at every depth).
void FinishRow(Document& d, int32_t y, const TiffLayout& layout) {
    const TiffColour colour = TiffColourOf(d.Mode());
    const SampleKind file = FileSamples(d.Depth());
    const size_t pixels = size_t(d.Width());
    if (colour.signedChroma) ToggleSignedPlanes(d.Row(y), file, pixels, d.Planes(), 1, 2);
    ConvertSamples(d.Row(y), file, d.Row(y), DocumentSamples(d.Depth()), pixels * size_t(d.Planes()));
    const SampleKind kind = DocumentSamples(d.Depth());
    if (colour.inkPlanes) InvertPlanes(d.Row(y), kind, pixels, d.Planes(), colour.inkPlanes);
    if (layout.invertFirst) InvertPlanes(d.Row(y), kind, pixels, d.Planes(), 1);
}

// One plane at a time, each scanline scattered into the document's pixels.
bool ReadSeparatePlanes(TIFF* tiff, Document& d) {
    const size_t sampleBytes = size_t(d.BytesPerSample());
    std::vector<uint8_t> line(sampleBytes * size_t(d.Width()));
    for (int plane = 0; plane < d.Planes(); ++plane)
        for (int32_t y = 0; y < d.Height(); ++y) {
            if (TIFFReadScanline(tiff, line.data(), uint32_t(y), uint16_t(plane)) < 0) return false;
            uint8_t* to = d.Row(y) + size_t(plane) * sampleBytes;
            for (int32_t x = 0; x < d.Width(); ++x)
                std::copy_n(line.data() + size_t(x) * sampleBytes, sampleBytes, to + size_t(x) * d.PixelBytes());
        }
    return true;
}

// Returns the rows per strip.
uint32_t SetTags(TIFF* tiff, const Document& d, int compression) {
    const ColourMode mode = d.Mode();
    const TiffColour colour = TiffColourOf(mode);
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, uint32_t(d.Width()));
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, uint32_t(d.Height()));
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, uint16_t(d.Planes()));
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, uint16_t(d.Depth()));
    TIFFSetField(tiff, TIFFTAG_SAMPLEFORMAT, uint16_t(d.Depth() == 32 ? SAMPLEFORMAT_IEEEFP : SAMPLEFORMAT_UINT));
    TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, uint16_t(PLANARCONFIG_CONTIG));
    TIFFSetField(tiff, TIFFTAG_ORIENTATION, uint16_t(ORIENTATION_TOPLEFT));
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, colour.photometric);
    if (colour.photometric == PHOTOMETRIC_SEPARATED) TIFFSetField(tiff, TIFFTAG_INKSET, colour.inkSet);
    if (colour.inkSet == INKSET_MULTIINK) {
        static constexpr char kInks[] = "Cyan\0Magenta\0Yellow";  // each name ends in NUL
        TIFFSetField(tiff, TIFFTAG_INKNAMES, uint16_t(sizeof kInks), kInks);
    }
    if (HasAlpha(mode)) {
        const uint16_t kinds[] = {EXTRASAMPLE_UNASSALPHA};
        TIFFSetField(tiff, TIFFTAG_EXTRASAMPLES, uint16_t(1), kinds);
    }
    if (compression > 0) {
        TIFFSetField(tiff, TIFFTAG_COMPRESSION, uint16_t(COMPRESSION_ADOBE_DEFLATE));
        TIFFSetField(tiff, TIFFTAG_ZIPQUALITY, compression);
    } else {
        TIFFSetField(tiff, TIFFTAG_COMPRESSION, uint16_t(COMPRESSION_NONE));
    }
    // Strips of about 1 MiB: few enough for big images, small enough to buffer.
    const size_t rows = std::max<size_t>(1, (size_t(1) << 20) / d.RowBytes());
    const auto rowsPerStrip = uint32_t(std::min<size_t>(rows, size_t(d.Height())));
    TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, rowsPerStrip);
    return rowsPerStrip;
}

// One row as the file holds it: file samples, inks as amounts, a and b signed.
void EncodeRow(const Document& d, int32_t y, uint8_t* to) {
    const SampleKind file = FileSamples(d.Depth());
    const TiffColour colour = TiffColourOf(d.Mode());
    ConvertSamples(d.Row(y), DocumentSamples(d.Depth()), to, file, size_t(d.Width()) * size_t(d.Planes()));
    if (colour.inkPlanes) InvertPlanes(to, file, size_t(d.Width()), d.Planes(), colour.inkPlanes);
    if (colour.signedChroma) ToggleSignedPlanes(to, file, size_t(d.Width()), d.Planes(), 1, 2);
}

}  // namespace

Outcome<ImageShape> ProbeTiff(const std::string& path) {
    TiffMessages messages;
    TiffFile tiff = OpenTiff(path, "r", messages);
    if (!tiff) return Outcome<ImageShape>::Failure("cannot read " + path + ": " + Reason(messages, "not a TIFF file"));
    const TiffLayout layout = ReadLayout(tiff.get());
    if (!layout.problem.empty()) return Outcome<ImageShape>::Failure("cannot read " + path + ": " + layout.problem);
    return Outcome<ImageShape>::Success({layout.width, layout.height, PlaneCount(layout.mode), layout.depth / 8});
}

Outcome<Document> ReadTiff(const std::string& path) {
    using Result = Outcome<Document>;
    TiffMessages messages;
    TiffFile tiff = OpenTiff(path, "r", messages);
    if (!tiff) return Result::Failure("cannot read " + path + ": " + Reason(messages, "not a TIFF file"));
    const TiffLayout layout = ReadLayout(tiff.get());
    if (!layout.problem.empty()) return Result::Failure("cannot read " + path + ": " + layout.problem);
    if (layout.width > uint32_t(kMaxDocumentSide) || layout.height > uint32_t(kMaxDocumentSide))
        return Result::Failure(path + ": image size " + std::to_string(layout.width) + "x" +
                               std::to_string(layout.height) + " is larger than the host takes");
    Result created = Document::Create(int32_t(layout.width), int32_t(layout.height), layout.mode, layout.depth,
                                      Samples::Unset);
    if (!created.ok()) return Result::Failure(path + ": " + created.error);
    Document& d = created.value;
    const size_t expected = layout.separatePlanes ? size_t(d.Width()) * size_t(d.BytesPerSample()) : d.RowBytes();
    if (size_t(TIFFScanlineSize64(tiff.get())) != expected)
        return Result::Failure("cannot read " + path + ": its scanlines do not match its samples");
    bool read = true;
    if (layout.separatePlanes) {
        read = ReadSeparatePlanes(tiff.get(), d);
    } else {
        for (int32_t y = 0; y < d.Height() && read; ++y)
            read = TIFFReadScanline(tiff.get(), d.Row(y), uint32_t(y), 0) >= 0;
    }
    if (!read) return Result::Failure("cannot read " + path + ": " + Reason(messages, "damaged image data"));
    for (int32_t y = 0; y < d.Height(); ++y) FinishRow(d, y, layout);
    return created;
}

std::string WriteTiff(const Document& d, const std::string& path, const WriteOptions& options) {
    ReplacingFile output(path);
    if (!output.ok()) return output.Failure({});
    TiffMessages messages;
    TiffFile tiff = CreateTiff(output, messages);
    if (!tiff) return output.Failure(Reason(messages, "cannot create the file"));
    const int compression = options.compression < 0 ? 0 : options.compression;
    const uint32_t rowsPerStrip = SetTags(tiff.get(), d, compression);
    // A strip at a time, converted into a buffer of its own: libtiff may
    // change what it is given, and the document stays as it is. Without
    // compression the strip is the file's bytes already.
    std::vector<uint8_t> strip(size_t(rowsPerStrip) * d.RowBytes());
    bool written = true;
    for (uint32_t first = 0, index = 0; first < uint32_t(d.Height()) && written; first += rowsPerStrip, ++index) {
        const uint32_t rows = std::min(rowsPerStrip, uint32_t(d.Height()) - first);
        for (uint32_t r = 0; r < rows; ++r) EncodeRow(d, int32_t(first + r), strip.data() + size_t(r) * d.RowBytes());
        const tmsize_t bytes = tmsize_t(size_t(rows) * d.RowBytes());
        written = (compression > 0 ? TIFFWriteEncodedStrip(tiff.get(), index, strip.data(), bytes)
                                   : TIFFWriteRawStrip(tiff.get(), index, strip.data(), bytes)) == bytes;
    }
    written = written && TIFFFlush(tiff.get()) == 1;
    tiff.reset();
    if (written && messages.first.empty()) return output.Commit();
    return output.Failure(Reason(messages, "write failed"));
}

}  // namespace gridsmith::hosting
