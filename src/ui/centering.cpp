#include "ui/centering.h"

#include <algorithm>

namespace gridsmith::ui {
namespace {

// Back inside [0, screen) when the far edge would pass the screen's edge.
int PullInside(int position, int size, int screen) {
    return position + size > screen ? std::max(0, screen - size) : position;
}

}  // namespace

ScreenPoint CenterOverOwnerPosition(const CenteringInput& in) {
    const int k = in.captionButtonWidth;
    const int shift = in.hasSystemMenu ? k : k - k / 3;
    const int ownerWidth = in.owner.right - in.owner.left;
    const int ownerHeight = in.owner.bottom - in.owner.top;
    const int x = in.owner.left + std::max(0, ownerWidth - in.width) / 2 - shift;
    const int y = in.owner.top + std::max(0, ownerHeight - in.height) / 3;
    return {PullInside(x, in.width, in.screenWidth), PullInside(y, in.height, in.screenHeight)};
}

}  // namespace gridsmith::ui
