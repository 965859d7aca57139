#include "ui/preview_source.h"

#include <algorithm>

#include "plugin/host_procs.h"
#include "render/eight_bit_sample.h"
#include "render/plane_values.h"

namespace gridsmith::ui {
namespace {

bool HasChannelPorts(const host::FilterRecord& r) {
    const host::ChannelPortProcs* ports = r.channelPortProcs;
    return r.documentInfo && r.documentInfo->mergedCompositeChannels &&
           HasProc(ports, ports ? ports->numChannelPortProcs : 0, &host::ChannelPortProcs::readPixelsProc);
}

// ---- the channel ports -------------------------------------------------------------

bool ReadRow(const host::FilterRecord& r, int32_t channel, const host::VRect& row, uint8_t* samples) {
    const host::ReadChannelDesc* desc = r.documentInfo->mergedTransparency;
    if (channel != kMaskChannel) {
        desc = r.documentInfo->mergedCompositeChannels;
        for (int32_t i = 0; desc && i < channel; ++i) desc = desc->next;
    }
    if (!desc) return false;
    const host::PSScaling scaling{row, row};
    const host::PixelMemoryDesc memory{samples, (row.right - row.left) * 8, 8, 0, 8};
    host::VRect wrote{};
    return r.channelPortProcs->readPixelsProc(desc->port, &scaling, &row, &memory, &wrote) == host::noErr;
}

int32_t MergedChannels(const host::FilterRecord& r) {
    int32_t channels = 0;
    for (const host::ReadChannelDesc* c = r.documentInfo->mergedCompositeChannels; c; c = c->next) ++channels;
    return channels;
}

void ReadFromChannelPorts(const host::FilterRecord& r, const PreviewState& preview, ThumbBuffers buffers) {
    buffers.Channels = MergedChannels(r);
    buffers.HasTransparency = r.documentInfo->mergedTransparency != nullptr;
    FillThumbnail(preview, buffers, [&r](int32_t channel, const host::VRect& row, uint8_t* into) {
        return ReadRow(r, channel, row, into);
    });
}

// ---- the sampled input ----------------------------------------------------------------

// Every request field of the record, put back as it was when the scope ends.
class RequestFields {
public:
    explicit RequestFields(host::FilterRecord& r)
        : r_(r), inRect_(r.inRect), outRect_(r.outRect), maskRect_(r.maskRect), inLo_(r.inLoPlane),
          inHi_(r.inHiPlane), outLo_(r.outLoPlane), outHi_(r.outHiPlane), inputRate_(r.inputRate) {
        if (r.bigDocumentData) big_ = *r.bigDocumentData;
    }
    ~RequestFields() {
        r_.inRect = inRect_;
        r_.outRect = outRect_;
        r_.maskRect = maskRect_;
        r_.inLoPlane = inLo_;
        r_.inHiPlane = inHi_;
        r_.outLoPlane = outLo_;
        r_.outHiPlane = outHi_;
        r_.inputRate = inputRate_;
        if (host::BigDocumentStruct* big = r_.bigDocumentData) {
            big->inRect32 = big_.inRect32;
            big->outRect32 = big_.outRect32;
            big->maskRect32 = big_.maskRect32;
        }
    }
    RequestFields(const RequestFields&) = delete;
    RequestFields& operator=(const RequestFields&) = delete;

private:
    host::FilterRecord& r_;
    host::Rect inRect_, outRect_, maskRect_;
    int16_t inLo_, inHi_, outLo_, outHi_;
    host::Fixed inputRate_;
    host::BigDocumentStruct big_{};
};

int64_t CeilDiv(int64_t value, int64_t by) { return (value + by - 1) / by; }  // value >= 0

// The view's pixels the host delivers at rate s, in its sampled coordinates
// (pixel (u, v) is document pixel (u s, v s)): those inside the document and
// the view.
host::VRect SampledArea(const PreviewState& preview) {
    const VRect& v = preview.ViewRect;
    const int64_t s = preview.ZoomScale;
    const int64_t top = std::max({v.top, 0, preview.DocRect.top});
    const int64_t left = std::max({v.left, 0, preview.DocRect.left});
    const int64_t bottom = std::max<int64_t>(v.bottom, top), right = std::max<int64_t>(v.right, left);
    return {int32_t(CeilDiv(top, s)), int32_t(CeilDiv(left, s)), int32_t(CeilDiv(bottom, s)),
            int32_t(CeilDiv(right, s))};
}

// Asks for `band` of planes 0 .. planes - 1 as the next input, nothing else;
// false when the record's fields cannot carry it.
bool RequestInput(host::FilterRecord& r, const host::VRect& band) {
    r.inLoPlane = 0;
    r.inHiPlane = int16_t(r.planes - 1);
    if (host::BigDocumentStruct* big = r.bigDocumentData) {
        big->inRect32 = band;
        big->outRect32 = big->maskRect32 = {};
        return true;
    }
    auto fits = [](int32_t value) { return value >= INT16_MIN && value <= INT16_MAX; };
    if (!fits(band.top) || !fits(band.left) || !fits(band.bottom) || !fits(band.right)) return false;
    r.inRect = {int16_t(band.top), int16_t(band.left), int16_t(band.bottom), int16_t(band.right)};
    r.outRect = r.maskRect = {};
    return true;
}

// The thumbnail column (row) that sampled pixel u, document pixel u s, maps
// to along an axis whose view starts at `viewStart`.
int64_t SampledIndex(int64_t u, int64_t s, int64_t viewStart) { return (u * s - viewStart) / s; }

// The planes the sampled input fills: the colour planes come first; a
// layer's transparency follows them, where the drawing puts the opacity.
struct SampledPlanes {
    int32_t Channels;
    int32_t TransparencyPlane;  // -1: none
};

SampledPlanes SampledPlanesOf(const host::FilterRecord& r, const PreviewState& preview) {
    const PlaneLayout layout = PlaneLayoutOf(r);
    return {std::min(layout.colourPlanes, preview.Thumb.ThumbPlanes),
            layout.transparency ? layout.colourPlanes : -1};
}

// Stores one delivered band, its planes interleaved per pixel (the layout
// asked for): sampled pixel (u, v) is document pixel (u s, v s), shown at the
// thumbnail column and row that pixel maps to.
void SampleBand(const host::FilterRecord& r, const PreviewState& preview, const host::VRect& band,
                const ThumbBuffers& buffers, const SampledPlanes& planes) {
    const ThumbLayout& thumb = preview.Thumb;
    const VRect& view = preview.ViewRect;
    const int64_t s = preview.ZoomScale;
    const int32_t planeStep = r.depth / 8;
    const int64_t columnStep = int64_t(r.planes) * planeStep;
    const auto* data = static_cast<const uint8_t*>(r.inData);
    const int32_t channels = planes.Channels, transparencyPlane = planes.TransparencyPlane;
    for (int64_t v = band.top; v < band.bottom; ++v) {
        const int64_t dy = SampledIndex(v, s, view.top);
        if (dy < 0 || dy >= preview.ThumbHeight()) continue;
        const uint8_t* row = data + (v - band.top) * r.inRowBytes;
        for (int64_t u = band.left; u < band.right; ++u) {
            const int64_t dx = SampledIndex(u, s, view.left);
            if (dx < 0 || dx >= preview.ThumbWidth()) continue;
            const uint8_t* pixel = row + (u - band.left) * columnStep;
            for (int32_t i = 0; i < channels; ++i)
                buffers.Pixels[i * int64_t(thumb.ThumbPlaneBytes) + dy * thumb.ThumbRowBytes + dx] =
                    EightBitSample(pixel + i * planeStep, r.depth);
            if (transparencyPlane >= 0 && buffers.Mask)
                buffers.Mask[dy * thumb.MaskRowBytes + dx] =
                    EightBitSample(pixel + transparencyPlane * planeStep, r.depth);
        }
    }
}

bool ReadSampledInput(host::FilterRecord& r, const PreviewState& preview, const ThumbBuffers& buffers) {
    GroundThumbnail(preview, buffers);
    const host::VRect area = SampledArea(preview);
    if (area.left >= area.right || area.top >= area.bottom) return true;
    if (r.planes < 1 || (r.depth != 8 && r.depth != 16 && r.depth != 32)) return false;
    const SampledPlanes planes = SampledPlanesOf(r, preview);

    const int64_t rowBytes = (int64_t(area.right) - area.left) * r.planes * (r.depth / 8);
    const int64_t space = int64_t(r.maxSpace) - std::max(r.bufferSpace, 0);
    const int64_t bandRows = space / rowBytes;
    if (bandRows < 1) return false;

    RequestFields saved(r);
    r.inputRate = InputRateFor(preview.ZoomScale);
    for (int64_t top = area.top; top < area.bottom; top += bandRows) {
        const host::VRect band{int32_t(top), area.left, int32_t(std::min<int64_t>(top + bandRows, area.bottom)),
                               area.right};
        const bool delivered = RequestInput(r, band) && r.advanceState() == host::noErr && r.inData &&
                               r.inRowBytes >= rowBytes;
        if (!delivered) {
            GroundThumbnail(preview, buffers);
            return false;
        }
        SampleBand(r, preview, band, buffers, planes);
    }
    return true;
}

// The document points the sampled input shows: each sampled pixel of the
// view at the thumbnail column and row it maps to.
std::vector<GridLine> SampledLines(int32_t first, int32_t end, int64_t s, int64_t viewStart, int32_t extent) {
    std::vector<GridLine> lines;
    for (int64_t u = first; u < end; ++u) {
        const int64_t index = SampledIndex(u, s, viewStart);
        if (index >= 0 && index < extent) lines.push_back({u * s, int32_t(index)});
    }
    return lines;
}

SampleGrid SampledInputGrid(const PreviewState& preview) {
    SampleGrid grid{std::max(preview.ThumbWidth(), 0), std::max(preview.ThumbHeight(), 0), {}, {}};
    if (!preview.HasView) return grid;
    const host::VRect area = SampledArea(preview);
    const int64_t s = preview.ZoomScale;
    grid.Columns = SampledLines(area.left, area.right, s, preview.ViewRect.left, grid.Width);
    grid.Rows = SampledLines(area.top, area.bottom, s, preview.ViewRect.top, grid.Height);
    return grid;
}

}  // namespace

PictureShape PictureShapeOf(const host::FilterRecord& record, const PreviewState& preview) {
    if (PictureSourceOf(record) == PictureSource::ChannelPorts)
        return {std::min(MergedChannels(record), preview.Thumb.ThumbPlanes),
                record.documentInfo->mergedTransparency != nullptr, TiledSampleGrid(preview)};
    const SampledPlanes planes = SampledPlanesOf(record, preview);
    const bool sampled = PictureSourceOf(record) == PictureSource::SampledInput;
    return {planes.Channels, planes.TransparencyPlane >= 0,
            sampled ? SampledInputGrid(preview) : TiledSampleGrid(preview)};
}

PictureSource PictureSourceOf(const host::FilterRecord& record) {
    if (HasChannelPorts(record)) return PictureSource::ChannelPorts;
    if (record.advanceState && record.samplingSupport >= 1) return PictureSource::SampledInput;
    return PictureSource::None;
}

bool ReadThumbnail(host::FilterRecord& record, const PreviewState& preview, ThumbBuffers buffers) {
    switch (PictureSourceOf(record)) {
    case PictureSource::ChannelPorts:
        ReadFromChannelPorts(record, preview, buffers);
        return true;
    case PictureSource::SampledInput:
        return ReadSampledInput(record, preview, buffers);
    case PictureSource::None:
        break;
    }
    GroundThumbnail(preview, buffers);
    return true;
}

}  // namespace gridsmith::ui
