// The bevelled square that every block picture shares: a flat face framed by four sloped facets
// lit from the upper left, so blocks on the title, the icon and in play read as one family.
#pragma once

#include "raster.h"

namespace img {

struct Bevel {
    double width;      // facet width in pixels; half the block size makes a pyramid
    double top_light;  // how far the top facet moves toward white
    double left_light; // how far the left facet moves toward white
    double right_dark; // brightness factor of the right facet
    double bottom_dark;
};

Bevel standard_bevel(double block_size);

// Draws one block over the rectangle [x0, x1) x [y0, y1) with anti-aliased outer edges.
void draw_block(Image& im, double x0, double y0, double x1, double y1, Color base, Bevel bevel);

} // namespace img
