#include "ui/display_scale.h"

#include <cstdlib>

#include "ui/dialog_ids.h"
#include "ui/preview/preview_math.h"

namespace gridsmith::ui {
namespace {

constexpr int32_t kMaxDpi = 96 * 16;  // 1600 %, beyond any display

}  // namespace

int32_t Rescaled(int32_t value, int32_t fromDpi, int32_t toDpi) {
    if (fromDpi <= 0) return value;
    const int64_t product = int64_t(value) * toDpi;
    const int64_t half = fromDpi / 2;
    return Saturate(product >= 0 ? (product + half) / fromDpi : (product - half) / fromDpi);
}

int32_t DisplayScale::Px(int32_t pixels) const { return Rescaled(pixels, kBaseDpi, Dpi); }

DisplayScale ScaleForDpi(int32_t dpi) { return {dpi > 0 && dpi <= kMaxDpi ? dpi : kBaseDpi}; }

int32_t NearestImagePercent(const DisplayScale& scale) {
    int32_t best = kImagePercents[0];
    for (int32_t percent : kImagePercents)
        if (std::abs(int64_t(percent) * kBaseDpi - int64_t(scale.Dpi) * 100) <
            std::abs(int64_t(best) * kBaseDpi - int64_t(scale.Dpi) * 100))
            best = percent;
    return best;
}

int32_t ScaledImageId(int32_t baseId, const DisplayScale& scale) {
    struct Sizes {
        int32_t at100, at150, at200;
    };
    static constexpr Sizes kPictures[] = {
        {IDB_CLEAR_ICON, IDB_CLEAR_ICON_150, IDB_CLEAR_ICON_200},
        {IDB_EDIT_LIST_ICON, IDB_EDIT_LIST_ICON_150, IDB_EDIT_LIST_ICON_200},
        {IDB_LINE_TYPES, IDB_LINE_TYPES_150, IDB_LINE_TYPES_200},
        {IDB_ABOUT_LOGO, IDB_ABOUT_LOGO_150, IDB_ABOUT_LOGO_200},
        {IDB_ABOUT_SYMBOL, IDB_ABOUT_SYMBOL_150, IDB_ABOUT_SYMBOL_200},
    };
    const int32_t percent = NearestImagePercent(scale);
    for (const Sizes& picture : kPictures)
        if (picture.at100 == baseId) return percent == 150 ? picture.at150 : percent == 200 ? picture.at200 : baseId;
    return baseId;
}

}  // namespace gridsmith::ui
