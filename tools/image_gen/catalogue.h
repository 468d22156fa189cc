// The list of every picture the game ships: name, size, file layout, what the checker demands of
// it, and the function that draws it.
#pragma once

#include "png_io.h"

#include <string>
#include <vector>

namespace img {

enum class AlphaRule {
    None,               // RGB, nothing to check
    AllOpaque,          // every pixel alpha 255
    ClearOutsideCircle, // everything beyond the inscribed circle alpha 0
    ClearBorder,        // outermost rows and columns alpha 0
    SingleClearEntry,   // palette: exactly one entry alpha 0, the rest 255
};

struct Asset {
    std::string name;
    int w;
    int h;
    Layout layout;
    AlphaRule rule;
    Image (*draw)(int variant);
    int variant;
    bool grey = false; // palette must be pure grey, because the game tints it
};

const std::vector<Asset>& catalogue();
const Asset* find_asset(const std::string& name);

// Drawing entry points, one per family of pictures.
// The badge at full size, and shrunk with an area filter to side x side pixels.
Image draw_icon(int);
Image draw_window_icon(int side);
Image draw_block_texture(int);
Image draw_sparkle(int frame);
Image draw_smoke(int frame);
Image draw_title_background(int);
Image draw_how_to_play_background(int);
Image draw_beach(int);
Image draw_city(int);
Image draw_mountains(int);
Image draw_road(int);
Image draw_sunset(int);
Image draw_waterfall(int);

} // namespace img

namespace img {

// Tool modes besides drawing.
bool check_file(const std::string& path, const Asset& asset, std::string& problem);
int check_directory(const std::string& dir);                             // 0 when all pass
int write_contact_sheet(const std::string& dir, const std::string& out); // 0 on success
// Writes the badge at each desktop size to <dir>/hicolor/<N>x<N>/apps/kolvex.png; 0 on success.
int write_desktop_icons(const std::string& dir);
// Writes the web page's icons (any and maskable, 180 to 512 px) as <dir>/<name>.png; 0 on success.
int write_web_icons(const std::string& dir);

} // namespace img
