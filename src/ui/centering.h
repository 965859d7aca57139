// Where a dialog opens over its owner: centred across, shifted left by about
// a caption button's width, a third of the free height down, and pulled back
// onto the screen when it would run past the right or bottom edge.
#pragma once

namespace gridsmith::ui {

struct ScreenRect {  // right and bottom exclusive
    int left;
    int top;
    int right;
    int bottom;
};

struct ScreenPoint {
    int x;
    int y;
};

struct CenteringInput {
    ScreenRect owner;         // the owner's client area in screen coordinates
    int width;                // the dialog's outer size
    int height;
    int captionButtonWidth;   // the system's caption-button width
    bool hasSystemMenu;
    int screenWidth;
    int screenHeight;
};

// The dialog's top-left corner in screen coordinates.
ScreenPoint CenterOverOwnerPosition(const CenteringInput& input);

}  // namespace gridsmith::ui
