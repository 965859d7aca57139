// The real Gridsmith.8bf's live preview under Wine: the zoom buttons, the
// grips and the centre button edit the table as a person drags and clicks,
// and the outline lands on the pixels its geometry gives.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "host/lib/image_io.h"
#include "host/lib/plugin.h"
#include "tests/ui_win/dialog_runs.h"
#include "ui/dialog_ids.h"

namespace gridsmith::testing {
namespace {

using hosting::Box;
using hosting::DialogUser;
using hosting::Document;
using hosting::FilterHost;
using hosting::RunReport;

constexpr int kThumbGroundGrey = 192;

RunReport RunPreview(FilterHost& host, std::function<void(DialogUser&)> script) {
    return RunWithDialog(host, *Plugin(), std::move(script));
}

struct Seen {
    std::vector<std::string> texts;
    std::vector<bool> flags;
};

void LookAtZoom(DialogUser& user, Seen& seen) {
    seen.texts.push_back(user.Text(IDC_ZOOM_LABEL));
    seen.flags.push_back(user.Enabled(IDC_ZOOM_OUT));
    seen.flags.push_back(user.Enabled(IDC_ZOOM_IN));
}

// 800 pixels over a thumbnail less than 400 wide: a third, then a half, then all.
TEST(Preview, ZoomStepsTowardsFullSizeAndBack) {
    Document image = WhiteCanvas();
    FilterHost host(image);
    Seen seen;
    const RunReport report = RunPreview(host, [&](DialogUser& user) {
        if (!user.WaitForDialog()) return;
        LookAtZoom(user, seen);
        user.Click(IDC_ZOOM_IN);
        LookAtZoom(user, seen);
        user.Click(IDC_ZOOM_IN);
        LookAtZoom(user, seen);
        user.Click(IDC_ZOOM_OUT);
        LookAtZoom(user, seen);
        user.Click(IDCANCEL);
    });
    EXPECT_TRUE(report.hostErrors.empty()) << report.Problem();
    EXPECT_EQ(seen.texts, (std::vector<std::string>{"33.3%", "50.0%", "100.0%", "50.0%"}));
    EXPECT_EQ(seen.flags, (std::vector<bool>{false, true, true, true, true, false, true, true}));
}

TEST(Preview, ASmallDocumentFitsAtFullSizeWithBothZoomButtonsOff) {
    Document image = WhiteCanvas(200, 150);
    FilterHost host(image);
    Seen seen;
    const RunReport report = RunPreview(host, [&](DialogUser& user) {
        if (!user.WaitForDialog()) return;
        LookAtZoom(user, seen);
        user.Click(IDCANCEL);
    });
    EXPECT_TRUE(report.hostErrors.empty()) << report.Problem();
    EXPECT_EQ(seen.texts, (std::vector<std::string>{"100.0%"}));
    EXPECT_EQ(seen.flags, (std::vector<bool>{false, false}));
}

// At a third of full size, ten pixels of drag on the left grip move the table
// thirty document pixels; the centre button then centres it in the document.
TEST(Preview, TheLeftGripMovesTheTableAndCentringCentresIt) {
    Document image = WhiteCanvas();
    FilterHost host(image);
    Seen seen;
    const RunReport report = RunPreview(host, [&](DialogUser& user) {
        if (!user.WaitForDialog()) return;
        const Box thumb = ThumbOf(user);
        const int gripX = thumb.left + 40 / 3, gripY = thumb.top - 6;
        user.Press(gripX, gripY);
        user.Move(gripX + 4, gripY);
        user.Move(gripX + 10, gripY);
        user.Release(gripX + 10, gripY);
        seen.texts.push_back(user.Text(IDC_LEFT_MARGIN));
        seen.texts.push_back(user.Text(IDC_TOP_MARGIN));
        user.Click(IDC_CENTER_TABLE);
        seen.texts.push_back(user.Text(IDC_LEFT_MARGIN));
        seen.texts.push_back(user.Text(IDC_TOP_MARGIN));
        user.Click(IDOK);
    });
    ASSERT_TRUE(report.Succeeded()) << report.Problem();
    EXPECT_EQ(seen.texts, (std::vector<std::string>{"70", "20", "190", "240"}));
    EXPECT_TRUE(SameImage(image, SilentRun(*Plugin(), {"LeftMargin=190", "TopMargin=240"})));
}

// A pan ends with the button, and the dialog's edits answer again after it.
TEST(Preview, APanEndsWithTheButtonAndLeavesTheEditsLive) {
    Document image = WhiteCanvas();
    FilterHost host(image);
    Seen seen;
    const RunReport report = RunPreview(host, [&](DialogUser& user) {
        if (!user.WaitForDialog()) return;
        user.Click(IDC_ZOOM_IN);
        user.Click(IDC_ZOOM_IN);
        const Box thumb = ThumbOf(user);
        const int x = (thumb.left + thumb.right) / 2, y = (thumb.top + thumb.bottom) / 2;
        user.Press(x, y);
        for (int step = 1; step <= 5; ++step) user.Move(x - 8 * step, y - 5 * step);
        user.Release(x - 40, y - 25);
        user.Type(IDC_ROW_SIZES, "30,40");
        seen.flags.push_back(user.Enabled(IDC_REFRESH_PREVIEW));
        user.Click(IDCANCEL);
    });
    EXPECT_TRUE(report.hostErrors.empty()) << report.Problem();
    EXPECT_EQ(seen.flags, (std::vector<bool>{true}));
}

// The outline's border corner at px(40), py(20) is black with the white frame
// outside it, and the band frames are black lines around white bands.
TEST(Preview, TheOutlineAndBandsLandWhereTheGeometryPutsThem) {
    Document image = WhiteCanvas();
    FilterHost host(image);
    const std::string shot =
        (std::filesystem::temp_directory_path() / "gridsmith-preview-outline.png").string();
    Box client, thumb;
    const RunReport report = RunPreview(host, [&](DialogUser& user) {
        if (!user.WaitForDialog()) return;
        client = user.ClientBox();
        thumb = ThumbOf(user);
        user.Capture(shot);
        user.Click(IDCANCEL);
    });
    EXPECT_TRUE(report.hostErrors.empty()) << report.Problem();
    auto picture = hosting::ReadImage(shot);
    ASSERT_TRUE(picture.ok()) << picture.error;
    auto at = [&](int x, int y) {
        const uint8_t* p = picture.value.Pixel(client.left + x, client.top + y);
        return Rgb{p[0], p[1], p[2]};
    };
    const int x0 = thumb.left + 40 / 3, y0 = thumb.top + 20 / 3;
    const int x1 = thumb.left + (40 + 420) / 3, y1 = thumb.top + (20 + 120) / 3;
    const Rgb black{0, 0, 0}, white{255, 255, 255};
    EXPECT_EQ(at(x0, y0), black) << "top-left corner of the border";
    EXPECT_EQ(at(x1 - 1, y1 - 1), black) << "bottom-right corner of the border";
    EXPECT_EQ(at(x0 - 1, y0 - 1), white) << "white frame outside the border";
    EXPECT_EQ(at(x1, (y0 + y1) / 2), white) << "white frame right of the border";
    EXPECT_EQ(at(thumb.left - kRuler, thumb.top + 30), black) << "left band's outer frame";
    EXPECT_EQ(at(thumb.left - 4, thumb.top + 30), white) << "inside the left band, between two ticks";
}

// A document that fits at full size, with one red column at x 5 and one blue
// row at y 7: the picture shows document pixel (c, r) at (left + c, top + r)
// of the thumbnail, whichever way the host reads its pixel map.
TEST(Preview, TheThumbnailLandsPixelForPixelUnderBothDisplayReadings) {
    for (const auto reading : {hosting::DisplayReading::Published, hosting::DisplayReading::ReferenceHost}) {
        Document image = WhiteCanvas(200, 150);
        for (int y = 0; y < 150; ++y) {
            uint8_t* p = image.Pixel(5, y);
            p[0] = 255, p[1] = 0, p[2] = 0;
        }
        for (int x = 100; x < 200; ++x) {
            uint8_t* p = image.Pixel(x, 7);
            p[0] = 0, p[1] = 0, p[2] = 255;
        }
        FilterHost host(image);
        const std::string shot = (std::filesystem::temp_directory_path() / "gridsmith-thumbnail.png").string();
        Box client, thumb;
        hosting::RunOptions options;
        options.displayReading = reading;
        options.dialog.script = [&](DialogUser& user) {
            if (!user.WaitForDialog()) return;
            client = user.ClientBox();
            thumb = ThumbOf(user);
            user.Capture(shot);
            user.Click(IDCANCEL);
        };
        const RunReport report = host.Run(*Plugin(), options);
        EXPECT_TRUE(report.hostErrors.empty()) << report.Problem();
        auto picture = hosting::ReadImage(shot);
        ASSERT_TRUE(picture.ok()) << picture.error;
        auto at = [&](int c, int r) {
            const uint8_t* p = picture.value.Pixel(client.left + thumb.left + c, client.top + thumb.top + r);
            return Rgb{p[0], p[1], p[2]};
        };
        const Rgb red{255, 0, 0}, blue{0, 0, 255}, white{255, 255, 255};
        EXPECT_EQ(at(5, 100), red) << "the red column, reading " << int(reading);
        EXPECT_EQ(at(4, 100), white);
        EXPECT_EQ(at(6, 100), white);
        EXPECT_EQ(at(150, 7), blue) << "the blue row, reading " << int(reading);
        EXPECT_EQ(at(150, 6), white);
        EXPECT_EQ(at(150, 8), white);
    }
}

// A zoom step asks the host for one-row strips, never more than one per
// shown row and plane; zooming back out to the fit shows the picture read
// there without asking again.
TEST(Preview, AZoomStepReadsTheShownRowsAndZoomingBackOutReadsNothing) {
    Document image(3000, 2000, hosting::ColourMode::RgbAlpha, 8);
    image.Fill({200, 120, 40, 255});
    FilterHost host(image);
    std::vector<size_t> reads;
    int thumbHeight = 0;
    const RunReport report = RunPreview(host, [&](DialogUser& user) {
        if (!user.WaitForDialog()) return;
        const Box thumb = ThumbOf(user);
        thumbHeight = thumb.bottom - thumb.top;
        auto count = [&] { user.RunOnDialog([&](intptr_t) { reads.push_back(host.Ports().Reads().size()); }); };
        count();
        user.Click(IDC_ZOOM_IN);
        count();
        user.Click(IDC_ZOOM_OUT);
        count();
        user.Click(IDCANCEL);
    });
    EXPECT_TRUE(report.hostErrors.empty()) << report.Problem();
    ASSERT_EQ(reads.size(), 3u);
    const size_t zoomIn = reads[1] - reads[0];
    EXPECT_GT(zoomIn, 0u);
    EXPECT_LE(zoomIn, size_t(thumbHeight) * 4) << "three colour channels and the transparency";
    EXPECT_EQ(reads[2], reads[1]) << "zooming back out to the fit read again";
    for (const hosting::PortRead& read : host.Ports().Reads()) {
        ASSERT_EQ(read.rect.bottom - read.rect.top, 1);
        ASSERT_EQ(read.result, host::noErr);
    }
}

// A document wider than 16-bit rectangles reach: the size label, the zoom
// and centring all work from its 32-bit filter rectangle.
TEST(Preview, AHundredThousandPixelWideDocumentPreviewsAndCentres) {
    Document image = WhiteCanvas(100000, 60);
    FilterHost host(image);
    Seen seen;
    const RunReport report = RunPreview(host, [&](DialogUser& user) {
        if (!user.WaitForDialog()) return;
        seen.texts.push_back(user.Text(IDC_DOC_WIDTH_LABEL));
        user.Click(IDC_CENTER_TABLE);
        seen.texts.push_back(user.Text(IDC_LEFT_MARGIN));
        seen.texts.push_back(user.Text(IDC_TOP_MARGIN));
        user.Click(IDOK);
    });
    ASSERT_TRUE(report.Succeeded()) << report.Problem();
    EXPECT_EQ(seen.texts, (std::vector<std::string>{"[100000]", "49790", "0"}));
    const uint8_t* border = image.Pixel(49790, 0);
    EXPECT_EQ(Rgb({border[0], border[1], border[2]}), (Rgb{149, 179, 215})) << "the table's left border";
}

// A 600 x 400 picture whose pixel (x, y) is (7x, 5y, 128) modulo 256: at
// 50% every sample shows where it came from.
Document Gradient() {
    Document image(600, 400, hosting::ColourMode::Rgb, 8);
    for (int32_t y = 0; y < 400; ++y)
        for (int32_t x = 0; x < 600; ++x) {
            uint8_t* p = image.Pixel(x, y);
            p[0] = uint8_t(7 * x), p[1] = uint8_t(5 * y), p[2] = 128;
        }
    return image;
}

// The preview of the gradient as it shows at the fit and one zoom step in,
// from a run with `options` that then cancels: the screenshots' preview
// areas row by row, and what the host saw.
struct PreviewShots {
    std::vector<std::vector<Rgb>> fit, zoomed;
    RunReport report;
    std::vector<int32_t> inputRates;  // of every advanceState call
    int liveBuffers = 0;
};

// One host at a time: the host's procedures reach the latest one made.
PreviewShots ShootPreview(const std::string& name, hosting::RunOptions options) {
    Document image = Gradient();
    FilterHost host(image);
    PreviewShots shots;
    const std::string stem = (std::filesystem::temp_directory_path() / ("gridsmith-" + name + "-")).string();
    Box client, thumb;
    options.dialog.script = [&](DialogUser& user) {
        if (!user.WaitForDialog()) return;
        client = user.ClientBox();
        thumb = ThumbOf(user);
        user.Capture(stem + "fit.png");
        user.Click(IDC_ZOOM_IN);
        user.Capture(stem + "zoomed.png");
        user.Click(IDCANCEL);
    };
    shots.report = host.Run(*Plugin(), options);
    for (const hosting::InputRequest& request : host.Input().Requests()) shots.inputRates.push_back(request.rate);
    shots.liveBuffers = host.Buffers().LiveBuffers();
    for (auto [zoom, rows] : {std::pair{"fit", &shots.fit}, std::pair{"zoomed", &shots.zoomed}}) {
        auto picture = hosting::ReadImage(stem + zoom + ".png");
        EXPECT_TRUE(picture.ok()) << picture.error;
        if (!picture.ok()) continue;
        for (int y = thumb.top - kRuler; y < thumb.bottom + kRuler; ++y) {
            rows->emplace_back();
            for (int x = thumb.left - kRuler; x < thumb.right + kRuler; ++x) {
                const uint8_t* p = picture.value.Pixel(client.left + x, client.top + y);
                rows->back().push_back({p[0], p[1], p[2]});
            }
        }
    }
    return shots;
}

// Thumbnail pixel (c, r) of a shot.
Rgb At(const std::vector<std::vector<Rgb>>& rows, int c, int r) {
    return rows.at(size_t(r + kRuler)).at(size_t(c + kRuler));
}

hosting::RunOptions WithoutChannelPorts() {
    hosting::RunOptions options;
    options.offerDocumentInfo = false;
    return options;
}

// Without channel ports or document information the host's sampled input
// gives the same picture, pixel for pixel, at 50% and after a zoom step to
// 100%, which asks for the input again at the new rate.
TEST(Preview, WithoutChannelPortsTheHostsSampledInputShowsTheSamePicture) {
    const PreviewShots ports = ShootPreview("ports", {});
    const PreviewShots sampled = ShootPreview("sampled", WithoutChannelPorts());
    for (const PreviewShots* shots : {&ports, &sampled}) {
        EXPECT_TRUE(shots->report.hostErrors.empty()) << shots->report.Problem();
        ASSERT_FALSE(shots->fit.empty());
        ASSERT_FALSE(shots->zoomed.empty());
        EXPECT_EQ(shots->liveBuffers, 0);
        EXPECT_TRUE(shots->report.InputRateRestored());
    }
    EXPECT_EQ(At(sampled.fit, 150, 100), (Rgb{uint8_t(7 * 300), uint8_t(5 * 200), 128}));
    EXPECT_EQ(At(sampled.zoomed, 250, 180), (Rgb{uint8_t(7 * 250), uint8_t(5 * 180), 128}));
    EXPECT_TRUE(sampled.fit == ports.fit) << "the preview at 50% differs";
    EXPECT_TRUE(sampled.zoomed == ports.zoomed) << "the preview at 100% differs";
    EXPECT_EQ(sampled.inputRates, (std::vector<int32_t>{2, 1}));
    EXPECT_TRUE(ports.inputRates.empty());
}

// Without sampling support, or with advanceState failing, the picture is
// today's grey ground, and the dialog goes on.
TEST(Preview, WithoutSamplingOrWithAFailingAdvanceStateThePreviewStaysGrey) {
    hosting::RunOptions noSampling = WithoutChannelPorts(), failing = WithoutChannelPorts();
    noSampling.samplingSupport = 0;
    failing.advanceStateError = host::memFullErr;
    for (const hosting::RunOptions* options : {&noSampling, &failing}) {
        const PreviewShots shots = ShootPreview(options == &failing ? "failing" : "unsampled", *options);
        EXPECT_TRUE(shots.report.hostErrors.empty()) << shots.report.Problem();
        ASSERT_FALSE(shots.zoomed.empty());
        const Rgb grey{kThumbGroundGrey, kThumbGroundGrey, kThumbGroundGrey};
        for (const auto& rows : {&shots.fit, &shots.zoomed})
            for (auto [c, r] : {std::pair{250, 180}, std::pair{30, 160}, std::pair{340, 210}})
                EXPECT_EQ(At(*rows, c, r), grey) << c << ", " << r;
        EXPECT_EQ(shots.inputRates.size(), options == &failing ? 2u : 0u);
        EXPECT_EQ(shots.liveBuffers, 0);
        EXPECT_TRUE(shots.report.InputRateRestored());
    }
}

// Hosts that leave services out: the dialog still opens, takes edits and
// draws what it was told, and gives back the host's buffers and input rate.
TEST(Preview, ReducedHostsStillOpenEditAndDraw) {
    struct Profile {
        const char* name;
        void (*apply)(hosting::RunOptions&);
    };
    const Profile profiles[] = {
        {"no document info or channel ports", [](hosting::RunOptions& o) { o.offerDocumentInfo = false; }},
        {"sampled input in bands",
         [](hosting::RunOptions& o) {
             o.offerDocumentInfo = false;
             o.maxSpace = 3 * 43008 + 282824 + 8000;  // the plug-in's bufferSpace and 9 rows at 33%
         }},
        {"no sampling support",
         [](hosting::RunOptions& o) {
             o.offerDocumentInfo = false;
             o.samplingSupport = 0;
         }},
        {"advanceState failing",
         [](hosting::RunOptions& o) {
             o.offerDocumentInfo = false;
             o.advanceStateError = host::memFullErr;
         }},
        {"no displayPixels", [](hosting::RunOptions& o) { o.offerDisplayPixels = false; }},
        {"no basic suite", [](hosting::RunOptions& o) { o.offerBasicSuite = false; }},
        {"no UI hooks", [](hosting::RunOptions& o) { o.offerUIHooks = false; }},
        {"tile buffer refused", [](hosting::RunOptions& o) { o.refuseTileBuffer = true; }},
    };
    const Document expected = SilentRun(*Plugin(), {"Rows=7", "LeftMargin=190", "TopMargin=240"});
    for (const Profile& profile : profiles) {
        Document image = WhiteCanvas();
        FilterHost host(image);
        hosting::RunOptions options;
        profile.apply(options);
        options.dialog.script = [](DialogUser& user) {
            if (!user.WaitForDialog() || !user.Choose(IDC_ROWS, 6)) return;
            user.Click(IDC_ZOOM_IN);
            user.Press(300, 200);
            user.Move(280, 190);
            user.Release(280, 190);
            user.Type(IDC_LEFT_MARGIN, "190");
            user.Type(IDC_TOP_MARGIN, "240");
            user.Click(IDOK);
        };
        const RunReport report = host.Run(*Plugin(), options);
        EXPECT_TRUE(report.Succeeded()) << profile.name << ": " << report.Problem();
        EXPECT_TRUE(SameImage(image, expected)) << profile.name;
        EXPECT_EQ(host.Buffers().LiveBuffers(), 0) << profile.name;
        EXPECT_TRUE(report.InputRateRestored()) << profile.name;
    }
}

}  // namespace
}  // namespace gridsmith::testing
