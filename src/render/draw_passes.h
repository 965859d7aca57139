// The four drawing passes, walked one clipped item per host tile.
#pragma once

#include <cstdint>

#include "plugin/dialog_state.h"

namespace gridsmith {

// True when the table rectangle (margins from the filter rectangle's corner)
// overlaps the filter rectangle at all.
bool TableReachesFilterRect(const DialogState& state);

// First-item searches: each sets ItemIndex or ColumnIndex, LineRect and
// TileRect from state.Host->filterRect and returns true when it finds an item
// that reaches into the filter rectangle.
bool FindFirstBackgroundRow(DialogState& state);
bool FindFirstHorizontalLine(DialogState& state);
bool FindFirstVerticalLine(DialogState& state);
bool FindFirstBorder(DialogState& state, int32_t fromIndex);

// Asks the host for TileRect as the next output tile, all planes.
void RequestTile(DialogState& state);
// Empties every requested rectangle: the run ends.
void EndRequests(host::FilterRecord& record);

// The continue selector: paints the delivered tile and requests the next item.
host::OSErr ContinueFilter(DialogState& state);

}  // namespace gridsmith
