// The dialogs' display scale: a dialog's DPI over 96. Every pixel quantity the
// plug-in draws or hit-tests is given at 96 DPI and goes through Px, so all of
// them round the same way; at 96 DPI each is what it always was.
#pragma once

#include <cstdint>

namespace gridsmith::ui {

constexpr int32_t kBaseDpi = 96;

struct DisplayScale {
    int32_t Dpi = kBaseDpi;

    // `pixels` at 96 DPI, at this DPI: rounded to the nearest, halves away from 0.
    int32_t Px(int32_t pixels) const;
    bool IsBase() const { return Dpi == kBaseDpi; }
};

// The scale of a DPI the window system reported; nothing sensible (0, a
// negative or an absurd value) reads as 96.
DisplayScale ScaleForDpi(int32_t dpi);

// `value` measured at `fromDpi`, at `toDpi`, rounded as Px rounds.
int32_t Rescaled(int32_t value, int32_t fromDpi, int32_t toDpi);

// The resources carry their pictures at 100, 150 and 200 percent; the one
// nearest a scale (the smaller on a tie, so a picture never outgrows its place).
constexpr int32_t kImagePercents[] = {100, 150, 200};
int32_t NearestImagePercent(const DisplayScale& scale);

// The resource ID of picture `baseId` (one of the IDB_ IDs at 100 percent) at
// the percent nearest `scale`; `baseId` itself at 100 percent or for a
// picture that comes at one size only.
int32_t ScaledImageId(int32_t baseId, const DisplayScale& scale);

}  // namespace gridsmith::ui
