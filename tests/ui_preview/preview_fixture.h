// A preview over a 400 x 300 thumbnail with the default table, for the tests.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>

#include "layout/layout_table.h"
#include "params/table_params.h"
#include "ui/preview/grip.h"
#include "ui/preview/preview_grips.h"
#include "ui/preview/preview_state.h"
#include "ui/preview/preview_view.h"

namespace gridsmith::ui::preview_test {

// Bands of 20 around a 400 x 300 thumbnail at (30, 30).
constexpr ClientRect kPreviewRect{10, 10, 450, 350};

inline VRect DocumentOf(int32_t width, int32_t height) { return VRect{0, 0, height, width}; }

struct PreviewFixture {
    PreviewState preview;
    TableParams params{};
    int32_t colWidths[MaxTableCells] = {};
    int32_t rowHeights[MaxTableCells] = {};
    TableLayout layout{colWidths, rowHeights};

    PreviewFixture() { ApplyDefaultParams(params); }

    void Open(const VRect& filterRect, const VRect* documentBounds = nullptr, int32_t planes = 3) {
        ASSERT_TRUE(SetupPreviewScale(preview, kPreviewRect, filterRect, planes));
        SetViewToDocument(preview, filterRect, documentBounds);
    }

    void LayOut() { ASSERT_EQ(LayoutTable(params, layout, true, PlaceGripsHook, &preview), 1); }

    const ClientRect& Thumb() const { return preview.ThumbRect; }
    CGrip& Col(int i) { return *preview.ColGrips.at(i); }
    CGrip& Row(int i) { return *preview.RowGrips.at(i); }
};

}  // namespace gridsmith::ui::preview_test
