// JPEG files through libjpeg-turbo: 8-bit grey, RGB (from YCbCr or RGB) and
// CMYK (from CMYK or YCCK). Adobe's CMYK JPEGs store inverted inks, 0 meaning
// full ink as in the host; others store ink amounts, inverted on the way in.
// libjpeg reports errors by longjmp, so the functions that call it hold
// nothing that needs destroying; the C++ objects live in their caller. Its
// warnings about missing or damaged data end the reading too: the host makes
// no picture up where the file has none.
#include <cstdio>  // before jpeglib.h, which uses FILE

#include <jerror.h>
#include <jpeglib.h>

#include <algorithm>
#include <climits>
#include <csetjmp>

#include "host/lib/image_formats.h"
#include "host/lib/input_file.h"
#include "host/lib/sample_rows.h"

namespace gridsmith::hosting {
namespace {

// A progressive file may hold any number of scans, each a pass over the
// whole image; past this many it is taken as made to be slow.
constexpr int kMostScans = 500;
constexpr int kTooManyScans = -1;  // a message code of our own

struct JpegReport {
    jpeg_error_mgr manager;  // first: libjpeg hands back its address
    jpeg_progress_mgr progress;
    std::jmp_buf jump;
    int code;
    char text[JMSG_LENGTH_MAX];
};

JpegReport& ReportOf(j_common_ptr jpeg) { return *reinterpret_cast<JpegReport*>(jpeg->err); }

[[noreturn]] void Stop(j_common_ptr jpeg) {
    JpegReport& report = ReportOf(jpeg);
    report.code = jpeg->err->msg_code;
    jpeg->err->format_message(jpeg, report.text);
    std::longjmp(report.jump, 1);
}

// Warnings about bytes the decoder skips or a newer JFIF version leave the
// pixels whole; every other one means data is missing or damaged.
void OnMessage(j_common_ptr jpeg, int level) {
    if (level >= 0) return;  // traces
    const int code = jpeg->err->msg_code;
    if (code == JWRN_EXTRANEOUS_DATA || code == JWRN_JFIF_MAJOR || code == JWRN_BOGUS_ICC) return;
    Stop(jpeg);
}

void OnProgress(j_common_ptr jpeg) {
    if (reinterpret_cast<j_decompress_ptr>(jpeg)->input_scan_number <= kMostScans) return;
    JpegReport& report = ReportOf(jpeg);
    report.code = kTooManyScans;
    std::longjmp(report.jump, 1);
}

struct JpegHeader {
    uint32_t width = 0, height = 0;
    ColourMode mode = ColourMode::Rgb;
    bool invertInks = false;
};

// Reads the header and asks for grey, RGB or CMYK rows.
bool ReadHeader(jpeg_decompress_struct* jpeg, JpegReport* report, std::FILE* file, JpegHeader* header) {
    if (setjmp(report->jump)) return false;
    jpeg_create_decompress(jpeg);
    jpeg->progress = &report->progress;
    jpeg_stdio_src(jpeg, file);
    jpeg_read_header(jpeg, TRUE);
    switch (jpeg->jpeg_color_space) {
    case JCS_GRAYSCALE:
        jpeg->out_color_space = JCS_GRAYSCALE;
        header->mode = ColourMode::Gray;
        break;
    case JCS_CMYK:
    case JCS_YCCK:
        jpeg->out_color_space = JCS_CMYK;
        header->mode = ColourMode::Cmyk;
        header->invertInks = !jpeg->saw_Adobe_marker;
        break;
    default: jpeg->out_color_space = JCS_RGB; break;
    }
    header->width = jpeg->image_width;
    header->height = jpeg->image_height;
    return true;
}

// Decodes every row into the document, made to the header's size and mode.
bool ReadRows(jpeg_decompress_struct* jpeg, JpegReport* report, Document* d) {
    if (setjmp(report->jump)) return false;
    jpeg_start_decompress(jpeg);
    if (jpeg->output_components != d->Planes() || jpeg->output_width != JDIMENSION(d->Width()) ||
        jpeg->output_height != JDIMENSION(d->Height()))
        ERREXIT(jpeg, JERR_CONVERSION_NOTIMPL);
    while (jpeg->output_scanline < jpeg->output_height) {
        JSAMPROW row = d->Row(int32_t(jpeg->output_scanline));
        jpeg_read_scanlines(jpeg, &row, 1);
    }
    return true;
}

// libjpeg's state, released however the reading ends.
struct Decoder {
    jpeg_decompress_struct jpeg{};
    explicit Decoder(JpegReport& report) {
        jpeg.err = jpeg_std_error(&report.manager);
        report.manager.error_exit = &Stop;
        report.manager.emit_message = &OnMessage;
        report.progress.progress_monitor = &OnProgress;
    }
    ~Decoder() { jpeg_destroy_decompress(&jpeg); }
};

std::string Problem(const std::string& path, const JpegReport& report, uint64_t size, size_t left) {
    switch (report.code) {
    case JWRN_JPEG_EOF: return EndsEarly(path, size);
    case kTooManyScans: return "cannot read " + path + ": it has more than " + std::to_string(kMostScans) + " scans";
    case JERR_NO_BACKING_STORE:
        return path + ": decoding it needs more memory than the " + std::to_string(left >> 20) +
               " MiB the limit leaves beside the image (" + DocumentMemoryLimit().source + ")";
    default: return "cannot read " + path + ": " + report.text;
    }
}

}  // namespace

Outcome<ImageShape> ProbeJpeg(const std::string& path) {
    using Result = Outcome<ImageShape>;
    InputFile file(path);
    if (!file.Problem().empty()) return Result::Failure(file.Problem());
    JpegReport report{};
    Decoder decoder(report);
    JpegHeader header;
    if (!ReadHeader(&decoder.jpeg, &report, file.Handle(), &header))
        return Result::Failure(Problem(path, report, file.Size(), 0));
    return Result::Success({header.width, header.height, PlaneCount(header.mode), 1});
}

Outcome<Document> ReadJpeg(const std::string& path) {
    using Result = Outcome<Document>;
    InputFile file(path);
    if (!file.Problem().empty()) return Result::Failure(file.Problem());
    JpegReport report{};
    Decoder decoder(report);
    JpegHeader header;
    if (!ReadHeader(&decoder.jpeg, &report, file.Handle(), &header))
        return Result::Failure(Problem(path, report, file.Size(), 0));

    // The image's memory first, then what libjpeg may take for its own
    // buffers (a progressive file's coefficients) within the same limit.
    Result read = Document::Create(int32_t(header.width), int32_t(header.height), header.mode, 8, Samples::Unset);
    if (!read.ok()) return Result::Failure(path + ": " + read.error);
    const size_t left = std::max<size_t>(1, DocumentMemoryLimit().bytes - read.value.Bytes().size());
    decoder.jpeg.mem->max_memory_to_use = long(std::min<size_t>(left, LONG_MAX));
    if (!ReadRows(&decoder.jpeg, &report, &read.value)) return Result::Failure(Problem(path, report, file.Size(), left));
    if (header.invertInks) {
        Document& d = read.value;
        for (int32_t y = 0; y < d.Height(); ++y) InvertPlanes(d.Row(y), SampleKind::Byte, size_t(d.Width()), 4, 4);
    }
    return read;
}

}  // namespace gridsmith::hosting
