// PNG files in and out through libpng: the three layouts the game loads (RGB, RGBA, palette
// with a single transparent entry) and a plain reader for checking and the contact sheet.
#pragma once

#include "raster.h"

#include <cstdint>
#include <string>
#include <vector>

namespace img {

enum class Layout { Rgb, Rgba, Palette };

// Converts the canvas and writes it; throws std::runtime_error on failure. A palette picture
// maps pixels with alpha below one half to the transparent entry and needs at most 255 colours.
void write_png(const std::string& path, const Image& im, Layout layout);

// Raw decoded contents, kept as stored so that the checker sees what the game will see.
struct PngFile {
    int w = 0;
    int h = 0;
    int color_type = -1;
    int bit_depth = 0;
    int interlace = -1;
    std::vector<uint8_t> palette; // RGB triples
    std::vector<uint8_t> trns;    // alpha per palette entry, as stored
    std::vector<uint8_t> data;    // rows, packed as stored
    int channels = 0;             // bytes per pixel in data
};

bool read_png(const std::string& path, PngFile& out, std::string& error);
Image to_image(const PngFile& f); // expands any stored layout to a canvas

} // namespace img
