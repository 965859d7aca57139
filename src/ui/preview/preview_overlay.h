// What is drawn around and over the thumbnail, as data: the bands, the grey
// ruler parts outside the document, the corner guides, the ruler ticks, the
// table outline with its grips, and the frame composed while panning.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "layout/layout_table.h"
#include "params/table_params.h"
#include "ui/preview/grip.h"
#include "ui/preview/preview_state.h"

namespace gridsmith::ui {

// The four bands and four corner boxes, drawn in this order as rectangles with
// a black one-pixel pen and a white brush.
std::array<ClientRect, 8> PreviewBands(const PreviewState& preview);

// Light grey fills over the ruler parts beyond the document.
std::vector<ClientRect> OutOfDocumentGreys(const PreviewState& preview);

// Dotted polylines marking the document corners inside the thumbnail; the
// last point of each is not drawn.
using GuideLine = std::array<ClientPoint, 3>;
std::vector<GuideLine> CornerGuides(const PreviewState& preview);

// A tick line and its label (transparent background, black text). A shadowed
// label is first drawn in white at `Shadow`, a pixel right of and below `Label`.
struct RulerTick {
    ClientPoint From;
    ClientPoint To;
    ClientPoint Label;
    bool Shadowed = false;
    std::u16string Text;
    ClientPoint Shadow;
};
std::vector<RulerTick> HorizontalRulerTicks(const PreviewState& preview);
std::vector<RulerTick> VerticalRulerTicks(const PreviewState& preview);

// An inner grid line: the white fill beside it, then the black line.
struct GridLine {
    ClientRect WhiteFill;
    ClientPoint From;
    ClientPoint To;
};

// Drawn clipped to `Clip`: row lines, then column lines, the black border
// fills and the two white frames; then, unclipped, the grips in view with a
// light grey brush.
struct TableOutline {
    ClientRect Clip;
    std::vector<GridLine> RowLines;
    std::vector<GridLine> ColumnLines;
    std::array<ClientRect, 4> Border;       // top, bottom, left, right
    std::array<ClientRect, 2> WhiteFrames;  // one-pixel frames around these
    std::vector<const CGrip*> Grips;        // columns, then rows, in index order
};

// Width of the outline's border band: the border at the zoom, at least one
// pixel at 96 DPI. The grips' limits keep clear of it too.
int32_t OutlineBorderWidth(const PreviewState& preview, int32_t borderLineSize);

// Nothing when the table is not drawable (no positive size, a count outside
// 1..100, no layout arrays, or no view of the document).
std::optional<TableOutline> TableOutlineFor(const PreviewState& preview, const TableParams& params,
                                            const TableLayout& layout);

// A block copy between the two memory contexts, in preview-local coordinates.
struct Blit {
    ClientPoint Destination;
    int32_t Width = 0;
    int32_t Height = 0;
    ClientPoint Source;
};

// The frame shown while panning, in preview-local coordinates: the grey
// ground, the band frames, the snapshot's picture and bands moved by the pan
// (copies with no area left out), and the corner boxes on top.
struct PanFrame {
    ClientRect Ground;
    std::array<ClientRect, 4> Bands;
    std::vector<Blit> Blits;
    std::array<ClientRect, 4> Corners;
};
PanFrame ComposePanFrame(const PreviewState& preview);

}  // namespace gridsmith::ui
