// CGrip: one draggable grip of the preview's rulers, a triangle over a column
// boundary (pointing down) or beside a row boundary (pointing left).
#pragma once

#include <array>
#include <cstdint>

#include "ui/preview/preview_state.h"

namespace gridsmith::ui {

enum GripDirection : int32_t {
    GripColumn = 0,
    GripRow = 1,
};

// The grip lists own their grips; nothing derives from this class, so it needs
// no virtual destructor.
class CGrip final {
public:
    CGrip(int32_t direction, int32_t size);

    // Tip at (x, y) in client coordinates; index -1 keeps the current index.
    virtual void SetPosition(int32_t x, int32_t y, int32_t index);
    virtual void Place(int32_t x, int32_t y, int32_t docX, int32_t docY, int32_t index);
    // The triangle to fill, the tip first.
    virtual std::array<ClientPoint, 3> Triangle() const;
    virtual void Offset(int32_t dx, int32_t dy);
    // Moves by preview pixels; the document position moves `scale` times as far.
    virtual void MoveBy(int32_t dx, int32_t dy, int32_t scale);
    virtual bool HitTest(ClientPoint point) const;
    virtual bool HitTest(int32_t x, int32_t y) const;

    int32_t X = 0;
    int32_t Y = 0;
    int32_t DocX = 0;
    int32_t DocY = 0;
    int32_t Size;
    int32_t Direction;
    int32_t Index = 0;
    ClientRect Bounds;

private:
    void ComputeBounds();
};

}  // namespace gridsmith::ui
