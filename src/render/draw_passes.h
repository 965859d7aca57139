// The four drawing passes, walked one clipped item per host tile.
#pragma once

#include <cstdint>
#include <optional>

#include "plugin/dialog_state.h"
#include "render/pixel_writer.h"

namespace gridsmith {

// True when the table rectangle (margins from the filter rectangle's corner)
// overlaps the filter rectangle at all.
bool TableReachesFilterRect(const DialogState& state);

// The run's first item, as start looks for it: nothing when the table misses
// the filter rectangle; else the first visible row when rows are filled, then
// the first line, then the first border. Sets DrawPhase and the item.
bool FindFirstItem(DialogState& state);
// Moves to the next item to draw, changing pass as often as needed; false
// when the run is over.
bool FindNextItem(DialogState& state);

// What the current item is painted with, as the continue step paints it.
struct ItemPaint {
    RunColour colour;
    LineStyle style;
};
std::optional<ItemPaint> PaintForCurrentItem(const DialogState& state);

// First-item searches: each sets ItemIndex or ColumnIndex, LineRect and
// TileRect from the host's filter rectangle and returns true when it finds an
// item that reaches into it. Coordinates are those of the record: 32-bit when
// the host offers big documents, else signed 16-bit with wrap-around.
bool FindFirstBackgroundRow(DialogState& state);
bool FindFirstHorizontalLine(DialogState& state);
bool FindFirstVerticalLine(DialogState& state);
bool FindFirstBorder(DialogState& state, int32_t fromIndex);

// Starts counting the run's progress at the current item: the total is every
// item the walk will request from here on, this one included.
void BeginProgress(DialogState& state);

// Asks the host for TileRect as the next output tile, all planes.
void RequestTile(DialogState& state);
// Empties every requested rectangle: the run ends.
void EndRequests(host::FilterRecord& record);

// The output tile the host delivered, as the pixel writer takes it.
Tile DeliveredTile(const host::FilterRecord& record);

// The continue selector: paints the delivered tile, tells the host's progress
// bar, and requests the next item.
host::OSErr ContinueFilter(DialogState& state);

}  // namespace gridsmith
