#include "ui/preview_effect.h"

#include <algorithm>

#include "layout/layout_table.h"
#include "plugin/dialog_state.h"
#include "render/eight_bit_sample.h"
#include "render/plane_values.h"
#include "render/sampled_run.h"
#include "ui/preview_source.h"
#include "ui/shown_params.h"

namespace gridsmith::ui {
namespace {

const void* SampleOf(const PixelVector& pixel, int32_t depth, int32_t plane) {
    switch (depth) {
    case 16: return &pixel.v16[plane];
    case 32: return &pixel.v32[plane];
    default: return &pixel.v8[plane];
    }
}

// Where the picture shows what the run paints: the planes the reading fills,
// and the mask where it is read from the plane the opacity is painted into.
struct Target {
    uint8_t* Pixels;
    uint8_t* Mask;
    const ThumbLayout& Thumb;
    int32_t Channels;
    int32_t MaskPlane;  // -1: the mask shows nothing painted
};

void DrawOver(const Target& to, const SampledRun& run, const ShownPixel (&shown)[kRunColours]) {
    for (int32_t r = 0; r < run.Height; ++r) {
        for (int32_t c = 0; c < run.Width; ++c) {
            const uint8_t colour = run.At(c, r);
            if (colour == kUnpainted) continue;
            const ShownPixel& pixel = shown[colour];
            const int64_t at = int64_t(r) * to.Thumb.ThumbRowBytes + c;
            for (int32_t i = 0; i < std::min(to.Channels, pixel.Planes); ++i)
                to.Pixels[i * int64_t(to.Thumb.ThumbPlaneBytes) + at] = pixel.V[i];
            if (to.Mask && to.MaskPlane >= 0 && to.MaskPlane < pixel.Planes)
                to.Mask[int64_t(r) * to.Thumb.MaskRowBytes + c] = pixel.V[to.MaskPlane];
        }
    }
}

}  // namespace

ShownPixel ShownPixelOf(const PixelVector& pixel, int32_t depth) {
    ShownPixel shown;
    shown.Planes = std::clamp(pixel.planes, int32_t(0), kMaxPaintedPlanes);
    for (int32_t k = 0; k < shown.Planes; ++k)
        shown.V[k] = EightBitSample(static_cast<const uint8_t*>(SampleOf(pixel, depth, k)), depth);
    return shown;
}

void PreviewEffect::Begin(const TableParams& params) {
    shown_ = params;
    laidOut_ = false;
    stale_ = true;
}

void PreviewEffect::Update(host::FilterRecord& record, const PreviewState& preview, const uint8_t* pixels,
                           const uint8_t* mask, DialogControls& controls) {
    if (!stale_) return;
    ReadShownParams(controls, shown_);
    Compose(record, preview, pixels, mask, shown_);
}

void PreviewEffect::Compose(host::FilterRecord& record, const PreviewState& preview, const uint8_t* pixels,
                            const uint8_t* mask, const TableParams& values) {
    stale_ = false;
    TableParams table = values;
    if (LayoutTable(table, TableLayout{colWidths_, rowHeights_}, false)) {
        table_ = table;
        laidOut_ = true;
    }
    const ThumbLayout& thumb = preview.Thumb;
    if (!pixels) {
        pixels_.clear();
        mask_.clear();
        return;
    }
    pixels_.assign(pixels, pixels + thumb.PixelBytes());
    if (mask)
        mask_.assign(mask, mask + thumb.MaskBytes);
    else
        mask_.clear();
    if (!laidOut_) return;

    DialogState run;
    run.Host = &record;
    run.Params = table_;
    run.ColWidths = colWidths_;
    run.RowHeights = rowHeights_;
    run.Pixels = MakeRunPixels(record, run.Params);
    const PictureShape shape = PictureShapeOf(record, preview);
    ShownPixel shown[kRunColours];
    for (int colour = 0; colour < kRunColours; ++colour)
        shown[colour] = ShownPixelOf(PixelOf(run.Pixels, RunColour(colour)), record.depth);
    const PlaneLayout layout = PlaneLayoutOf(record);
    const int32_t maskPlane = shape.Transparency && layout.transparency ? layout.colourPlanes : -1;
    DrawOver({pixels_.data(), Mask() ? mask_.data() : nullptr, thumb, shape.Channels, maskPlane},
             SampleRun(run, shape.Grid), shown);
}

}  // namespace gridsmith::ui
