// Times the live preview's portable steps, each against a reference timed in
// the same repetition so that both share the machine's load of the moment:
//  - the thumbnail of a 10000 x 10000 RGBA document at the fit scale, read in
//    row strips from an in-memory planar document (the host's readPixels),
//    against the same row reads without the sampling;
//  - a pan step (PanStep, ComposePanFrame and its blits copied row by row
//    between two 32-bit surfaces), against one copy of the whole preview area;
//  - a grip-drag step on a 100 x 100 table, against one LayoutTable of it;
//  - a refresh of a 100 x 100 table (the layout with the grip hook and what a
//    repaint computes), against LayoutTable without grips.
// Prints median, min and max per call in microseconds and the median of the
// per-repetition ratios to the reference.
//
//   gridsmith-bench-preview [repetitions]
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <utility>
#include <vector>

#include "layout/layout_table.h"
#include "params/table_params.h"
#include "ui/preview/grip.h"
#include "ui/preview/preview_grips.h"
#include "ui/preview/preview_mouse.h"
#include "ui/preview/preview_overlay.h"
#include "ui/preview/preview_state.h"
#include "ui/preview/preview_view.h"

namespace {

using namespace gridsmith;
using namespace gridsmith::ui;
using Clock = std::chrono::steady_clock;

constexpr int32_t kDocumentSide = 10000;
constexpr int32_t kDocumentPlanes = 4;   // R, G, B and the transparency
constexpr int32_t kColourChannels = 3;
constexpr ClientRect kPreviewRect{0, 0, 384, 248};  // a 344 x 208 ThumbRect
constexpr int32_t kGripZoomScale = 16;   // an inner column is 6 preview pixels wide there
constexpr int32_t kDraggedGrip = 10;

volatile size_t g_sink;

// ---- timing ----------------------------------------------------------------

struct Stats {
    double median = 0;
    double min = 0;
    double max = 0;
};

Stats StatsOf(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return {values[values.size() / 2], values.front(), values.back()};
}

// Microseconds per call of work(i) over `calls` calls.
template <class Work>
double MicrosecondsPerCall(int calls, Work& work) {
    const Clock::time_point start = Clock::now();
    for (int i = 0; i < calls; ++i) work(i);
    return std::chrono::duration<double, std::micro>(Clock::now() - start).count() / calls;
}

struct Comparison {
    Stats subject;
    Stats reference;
    double ratio = 0;  // median of subject / reference over the repetitions
};

template <class Subject, class Reference>
Comparison Compare(int repetitions, int calls, Subject subject, Reference reference) {
    std::vector<double> subjects, references, ratios;
    for (int r = 0; r < repetitions; ++r) {
        subjects.push_back(MicrosecondsPerCall(calls, subject));
        references.push_back(MicrosecondsPerCall(calls, reference));
        ratios.push_back(subjects.back() / references.back());
    }
    return {StatsOf(subjects), StatsOf(references), StatsOf(ratios).median};
}

// ---- the document and the surfaces ------------------------------------------

// The host's side of the thumbnail: an 8-bit planar document in memory.
struct PlanarDocument {
    int32_t width;
    int32_t height;
    std::vector<uint8_t> bytes;

    PlanarDocument(int32_t w, int32_t h) : width(w), height(h), bytes(size_t(w) * h * kDocumentPlanes) {
        for (int32_t p = 0; p < kDocumentPlanes; ++p)
            for (int32_t y = 0; y < h; ++y)
                std::memset(bytes.data() + Offset(p, y), (y + 64 * p) & 0xFF, size_t(w));
    }

    size_t Offset(int32_t plane, int32_t y) const { return (size_t(plane) * height + y) * size_t(width); }

    VRect Bounds() const { return {0, 0, height, width}; }

    // Copies one row strip of a channel, as readPixels does; the transparency
    // is the last plane.
    bool ReadRow(int32_t channel, const VRect& row, uint8_t* into) const {
        const int32_t plane = channel == kMaskChannel ? kDocumentPlanes - 1 : channel;
        if (plane < 0 || plane >= kDocumentPlanes || row.left < 0 || row.top < 0 || row.right > width ||
            row.bottom != row.top + 1 || row.top >= height || row.right - row.left > kStripSamples)
            return false;
        std::memcpy(into, bytes.data() + Offset(plane, row.top) + row.left, size_t(row.right - row.left));
        return true;
    }
};

// A 32-bit memory surface of the preview area, as the pan's memory contexts are.
struct Surface {
    int32_t width;
    int32_t height;
    std::vector<uint32_t> pixels;

    Surface(int32_t w, int32_t h, uint32_t value) : width(w), height(h), pixels(size_t(w) * h, value) {}
};

// What BitBlt does between two memory contexts: a row copy per line, clipped.
void CopyBlit(const Blit& blit, const Surface& from, Surface& to) {
    const int32_t x0 = std::max({0, -blit.Destination.x, -blit.Source.x});
    const int32_t y0 = std::max({0, -blit.Destination.y, -blit.Source.y});
    const int32_t x1 = std::min({blit.Width, to.width - blit.Destination.x, from.width - blit.Source.x});
    const int32_t y1 = std::min({blit.Height, to.height - blit.Destination.y, from.height - blit.Source.y});
    if (x1 <= x0) return;
    for (int32_t y = y0; y < y1; ++y)
        std::memcpy(&to.pixels[size_t(blit.Destination.y + y) * to.width + blit.Destination.x + x0],
                    &from.pixels[size_t(blit.Source.y + y) * from.width + blit.Source.x + x0],
                    size_t(x1 - x0) * sizeof(uint32_t));
}

// ---- the table --------------------------------------------------------------

// A 100 x 100 table over most of the document, with its layout arrays.
struct Table {
    TableParams params{};
    int32_t colWidths[MaxTableCells] = {};
    int32_t rowHeights[MaxTableCells] = {};

    Table() {
        ApplyDefaultParams(params);
        params.Rows = MaxTableCells;
        params.Cols = MaxTableCells;
        params.TableWidth = 9600;
        params.TableHeight = 9600;
        params.LeftMargin = 200;
        params.TopMargin = 200;
        params.BorderLineSize = 4;
        params.GridLineSize = 2;
    }

    TableLayout Layout() { return {colWidths, rowHeights}; }
    bool LayOut() { return LayoutTable(params, Layout(), false) == 1; }
    bool LayOut(PreviewState& preview) {
        return LayoutTable(params, Layout(), true, PlaceGripsHook, &preview) == 1;
    }
};

// The preview over the whole document at the fit scale, as initialisation leaves it.
bool OpenPreview(PreviewState& preview, const PlanarDocument& document) {
    const VRect bounds = document.Bounds();
    if (!SetupPreviewScale(preview, kPreviewRect, bounds, kDocumentPlanes)) return false;
    SetViewToDocument(preview, bounds, &bounds);
    return true;
}

// ---- the four cases ---------------------------------------------------------

struct Case {
    const char* subject;
    const char* reference;
    Comparison figures;
    double aim = 0;  // microseconds; 0 when the issue sets none
};

bool BenchThumbnail(const PlanarDocument& document, int repetitions, Case& row, size_t& rowReads) {
    PreviewState preview;
    if (!OpenPreview(preview, document)) return false;
    std::vector<uint8_t> pixels(size_t(preview.Thumb.PixelBytes()));
    std::vector<uint8_t> mask(size_t(preview.Thumb.MaskBytes));
    std::vector<uint8_t> tile(kStripSamples);
    const ThumbBuffers buffers{pixels.data(), mask.data(), tile.data(), kColourChannels, true};

    // The reads FillThumbnail asks for, replayed as the reference.
    std::vector<std::pair<int32_t, VRect>> reads;
    FillThumbnail(preview, buffers, [&](int32_t channel, const VRect& rect, uint8_t* into) {
        reads.emplace_back(channel, rect);
        return document.ReadRow(channel, rect, into);
    });
    rowReads = reads.size();
    if (reads.empty()) return false;

    const RowReader reader = [&](int32_t channel, const VRect& rect, uint8_t* into) {
        return document.ReadRow(channel, rect, into);
    };
    row.figures = Compare(
        repetitions, 1,
        [&](int) {
            FillThumbnail(preview, buffers, reader);
            g_sink = g_sink + pixels[pixels.size() / 2];
        },
        [&](int) {
            for (const auto& [channel, rect] : reads) reader(channel, rect, tile.data());
            g_sink = g_sink + tile[tile.size() / 2];
        });
    std::printf("thumbnail: FitScale %d, ThumbRect %d x %d, %zu rows x %d channels = %zu reads\n",
                preview.FitScale, preview.ThumbWidth(), preview.ThumbHeight(),
                reads.size() / kDocumentPlanes, kDocumentPlanes, reads.size());
    return true;
}

bool BenchPan(const PlanarDocument& document, int repetitions, int calls, Case& row) {
    PreviewState preview;
    if (!OpenPreview(preview, document)) return false;
    const int32_t wp = Width(preview.PreviewRect), hp = Height(preview.PreviewRect);
    const Surface snapshot(wp, hp, 0xFF808080u);
    Surface frame(wp, hp, 0);

    StartPan(preview);
    preview.DragOrigin = preview.LastMouse = {preview.ThumbRect.left + 100, preview.ThumbRect.top + 100};
    // Alternates between two displacements clear of every snap target, so each
    // step changes the pan and composes a new frame.
    int moved = 0;
    auto step = [&](int i) {
        const ClientPoint point{preview.DragOrigin.x + 40 + i % 2, preview.DragOrigin.y + 30 + i % 2};
        if (!PanStep(preview, point, true)) return;
        ++moved;
        const PanFrame composed = ComposePanFrame(preview);
        for (const Blit& blit : composed.Blits) CopyBlit(blit, snapshot, frame);
        g_sink = g_sink + composed.Blits.size();
    };
    const Blit whole{{0, 0}, wp, hp, {0, 0}};
    row.figures = Compare(repetitions, calls, step, [&](int) {
        CopyBlit(whole, snapshot, frame);
        g_sink = g_sink + frame.pixels[frame.pixels.size() / 2];
    });
    // The first step moves from no pan; every later one from the other point.
    return moved == repetitions * calls;
}

bool BenchGripDrag(const PlanarDocument& document, int repetitions, int calls, Case& row) {
    PreviewState preview;
    if (!OpenPreview(preview, document)) return false;
    Table table;
    Table reference = table;  // laid out afresh on every reference call
    while (preview.ZoomScale > kGripZoomScale) ZoomIn(preview, table.params.Cols, table.params.Rows);
    if (!table.LayOut(preview) || int32_t(preview.ColGrips.size()) <= kDraggedGrip) return false;

    CGrip& grip = *preview.ColGrips[kDraggedGrip];
    preview.ActiveGrip = &grip;
    const ClientPoint start{grip.X, grip.Y - 1};
    preview.DragOrigin = preview.LastMouse = start;
    int accepted = 0;
    const TableLayout layout = table.Layout();
    auto step = [&](int i) {
        const GripStep moved = DragGripStep(preview, table.params, layout, {start.x + 1 - i % 2, start.y});
        accepted += moved.Accepted;
        g_sink = g_sink + moved.Writes.size();
    };
    row.figures = Compare(repetitions, calls, step, [&](int) {
        g_sink = g_sink + reference.LayOut();
    });
    std::printf("grip drag: ZoomScale %d, column grip %d one pixel right and back\n",
                preview.ZoomScale, kDraggedGrip);
    return accepted == repetitions * calls;
}

bool BenchRefresh(const PlanarDocument& document, int repetitions, int calls, Case& row) {
    PreviewState preview;
    if (!OpenPreview(preview, document)) return false;
    Table table, reference;
    bool drawable = true;
    auto refresh = [&](int) {
        drawable &= table.LayOut(preview);
        const std::optional<TableOutline> outline = TableOutlineFor(preview, table.params, table.Layout());
        drawable &= outline.has_value();
        const size_t drawn = PreviewBands(preview).size() + OutOfDocumentGreys(preview).size() +
                             CornerGuides(preview).size() + HorizontalRulerTicks(preview).size() +
                             VerticalRulerTicks(preview).size() +
                             (outline ? outline->RowLines.size() + outline->ColumnLines.size() +
                                            outline->Grips.size()
                                      : 0);
        g_sink = g_sink + drawn;
    };
    row.figures = Compare(repetitions, calls, refresh, [&](int) {
        g_sink = g_sink + reference.LayOut();
    });
    return drawable;
}

// ---- output -----------------------------------------------------------------

void PrintStats(const char* name, const Stats& s) {
    std::printf("%-44s %10.2f %10.2f %10.2f", name, s.median, s.min, s.max);
}

void PrintRow(const Case& row) {
    PrintStats(row.subject, row.figures.subject);
    std::printf(" %9.2f", row.figures.ratio);
    if (row.aim > 0) {
        const bool met = row.figures.subject.median < row.aim;
        std::printf("  < %.0f us: %s (%.1f%% of it)", row.aim, met ? "met" : "NOT met",
                    100.0 * row.figures.subject.median / row.aim);
    }
    std::printf("\n  ");
    PrintStats(row.reference, row.figures.reference);
    std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
    const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 21;
    constexpr int kStepCalls = 1000;
    constexpr int kRefreshCalls = 100;

    std::printf("preparing a %d x %d RGBA 8-bit planar document...\n", kDocumentSide, kDocumentSide);
    PlanarDocument document(kDocumentSide, kDocumentSide);

    Case thumbnail{"thumbnail: FillThumbnail (portable part)", "ref: the same row reads, no sampling", {}};
    Case pan{"pan step: PanStep + ComposePanFrame + blits", "ref: one copy of the whole preview area", {}, 1000};
    Case grip{"grip step: DragGripStep, 100 x 100", "ref: one LayoutTable of the table", {}, 1000};
    Case refresh{"refresh: LayoutTable + grips, outline, rulers", "ref: LayoutTable without grips", {}, 2000};

    size_t rowReads = 0;
    if (!BenchThumbnail(document, repetitions, thumbnail, rowReads)) {
        std::printf("the thumbnail could not be set up\n");
        return 1;
    }
    if (!BenchPan(document, repetitions, kStepCalls, pan)) {
        std::printf("a pan step did not move the pan\n");
        return 1;
    }
    if (!BenchGripDrag(document, repetitions, kStepCalls, grip)) {
        std::printf("a grip step was rejected\n");
        return 1;
    }
    if (!BenchRefresh(document, repetitions, kRefreshCalls, refresh)) {
        std::printf("the table could not be laid out or drawn\n");
        return 1;
    }

    std::printf("\nper call, %d repetitions (steps: %d calls each, refresh: %d, thumbnail: 1)\n\n",
                repetitions, kStepCalls, kRefreshCalls);
    std::printf("%-44s %10s %10s %10s %9s  %s\n", "figure", "median us", "min us", "max us", "ratio",
                "aim");
    for (const Case* row : {&thumbnail, &pan, &grip, &refresh}) PrintRow(*row);
    // Every row is read once per channel and once for the transparency.
    const double rows = double(rowReads) / kDocumentPlanes;
    std::printf("\nthumbnail per row (%d reads): %.2f us with the sampling, %.2f us for the copies alone\n",
                kDocumentPlanes, thumbnail.figures.subject.median / rows,
                thumbnail.figures.reference.median / rows);
    return 0;
}
