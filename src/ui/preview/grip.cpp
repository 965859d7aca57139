#include "ui/preview/grip.h"

#include "ui/preview/preview_math.h"

namespace gridsmith::ui {

CGrip::CGrip(int32_t direction, int32_t size) : Size(size), Direction(direction) {
    ComputeBounds();
}

void CGrip::ComputeBounds() {
    const int32_t half = Size / 2;
    if (Direction == GripColumn)
        Bounds = {X - half, Y - Size, X + half, Y};
    else
        Bounds = {X, Y - half, X + Size, Y + half};
}

void CGrip::SetPosition(int32_t x, int32_t y, int32_t index) {
    X = x;
    Y = y;
    if (index >= 0) Index = index;
    ComputeBounds();
}

void CGrip::Place(int32_t x, int32_t y, int32_t docX, int32_t docY, int32_t index) {
    DocX = docX;
    DocY = docY;
    SetPosition(x, y, index);
}

std::array<ClientPoint, 3> CGrip::Triangle() const {
    if (Direction == GripColumn)
        return {{{X, Y}, {Bounds.left, Bounds.top}, {Bounds.right, Bounds.top}}};
    return {{{X, Y}, {Bounds.right, Bounds.top}, {Bounds.right, Bounds.bottom}}};
}

void CGrip::Offset(int32_t dx, int32_t dy) {
    X += dx;
    Y += dy;
    Bounds = {Bounds.left + dx, Bounds.top + dy, Bounds.right + dx, Bounds.bottom + dy};
}

void CGrip::MoveBy(int32_t dx, int32_t dy, int32_t scale) {
    DocX = Saturate(DocX + int64_t(dx) * scale);
    DocY = Saturate(DocY + int64_t(dy) * scale);
    Offset(dx, dy);
}

bool CGrip::HitTest(ClientPoint point) const { return Contains(Bounds, point); }

bool CGrip::HitTest(int32_t x, int32_t y) const { return HitTest(ClientPoint{x, y}); }

}  // namespace gridsmith::ui
