// The values a run paints: each chosen colour in the document's own space and
// depth in the colour planes, its opacity in the transparency plane only, and
// nothing in the planes after them. Built once per run for each colour and
// opacity pair, so the paint loop only copies ready-made samples.
#pragma once

#include <cstdint>

#include "params/table_params.h"
#include "plugin/host_abi.h"
#include "render/pixel_writer.h"

namespace gridsmith {

// How the host's colour planes hold a colour (8-bit encodings):
//   Rgb           red, green, blue
//   Gray          one plane, 0 black (grey and duotone)
//   Cmyk          cyan, magenta, yellow, black, inverted: 255 is no ink
//   Lab           L 0..255 for L* 0..100; a and b with 128 neutral
//   Multichannel  every plane the grey value, 0 full ink
enum class ColourSpace { Rgb, Gray, Cmyk, Lab, Multichannel };

struct PlaneLayout {
    ColourSpace space = ColourSpace::Rgb;
    int32_t colourPlanes = 0;   // planes 0 .. colourPlanes - 1
    bool transparency = false;  // plane colourPlanes holds the opacity
};

// Where the record's image mode and planes put the colour and the opacity.
// The transparency plane is the one after the mode's colour planes: when the
// host fills the layer-plane counts, when they say there is one; when it does
// not, when the planes are exactly the colour planes and one more, in a mode
// with layers. Modes hosts do not filter are taken as RGB.
PlaneLayout PlaneLayoutOf(const host::FilterRecord& record);

// A colour in a document space: components as the host encodes them at 8
// bits (one for Gray and Multichannel, three for Rgb and Lab, four for Cmyk).
struct SpaceColour {
    uint8_t c[4];
};

// The built-in conversions of a stored 0x00BBGGRR colour.
SpaceColour BuiltInColour(ColourSpace space, uint32_t colour);

using ColourServices = host::OSErr (*)(host::ColorServicesInfo* info);

// The colour in the document's space: the host's conversion when it has one
// for the space and answers noErr, else the built-in one.
SpaceColour DocumentColour(ColourSpace space, uint32_t colour, ColourServices services);

// The samples one painted pixel gets, at every depth. At 32 bits the colour
// planes of grey and RGB hold linear light; the opacity is never linearised.
PixelVector MakePixelVector(const PlaneLayout& layout, const SpaceColour& colour, uint8_t opacity);

// An RGB pixel with the opacity in plane 3.
PixelVector MakePixelVector(uint32_t colour, uint8_t opacity);

// The run's pixels, one per colour and opacity pair it paints.
struct RunPixels {
    bool Ready = false;
    PixelVector Line;
    PixelVector FirstRow;
    PixelVector OddRows;   // rows 1, 3, 5 ...
    PixelVector EvenRows;  // rows 2, 4, 6 ...
};

// Asks the host to convert each distinct colour the run paints at most once.
RunPixels MakeRunPixels(const host::FilterRecord& record, const TableParams& params);

// Which of a run's pixels an item is painted with.
enum class RunColour : uint8_t { Line, FirstRow, OddRows, EvenRows };
constexpr int kRunColours = 4;

const PixelVector& PixelOf(const RunPixels& pixels, RunColour colour);

}  // namespace gridsmith
