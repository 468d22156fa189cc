// The web page's icons: the badge on a clear ground for browsers that show it as it is, and on the
// page's own dark ground, filling the square, for launchers that cut their own shape out of it
// (maskable) and for home screens that fill a clear ground with black. Written to <dir>/<name>.png.
#include "catalogue.h"

#include <cstdio>
#include <string>

namespace img {

namespace {

constexpr int kMaskableSize = 512;
// The badge's side within the maskable square: its circle must stay inside the central circle of
// 80 % of the side that every launcher's mask keeps (the badge is 584/600 of its picture).
constexpr int kBadgeSide = 400;
constexpr uint32_t kPageGround = 0x101014;

// The badge centred on the page's ground, drawn at the maskable size and shrunk for other sizes.
Image draw_full_bleed_icon(int side) {
    Image im = make_image(kMaskableSize, kMaskableSize, hex(kPageGround));
    const Image badge = draw_window_icon(kBadgeSide);
    const int offset = (kMaskableSize - kBadgeSide) / 2;
    for (int y = 0; y < kBadgeSide; ++y) {
        for (int x = 0; x < kBadgeSide; ++x) {
            blend(im, x + offset, y + offset, badge.at(x, y), 1.0);
        }
    }
    return side == kMaskableSize ? im : downsample_area(im, side, side);
}

// Whether every pixel beyond the central 80 % circle is the plain ground, so no mask cuts the mark.
bool mark_in_safe_zone(const Image& im) {
    const Color ground = hex(kPageGround);
    const double centre = im.w / 2.0;
    const double radius = 0.4 * im.w;
    for (int y = 0; y < im.h; ++y) {
        for (int x = 0; x < im.w; ++x) {
            const Color& c = im.at(x, y);
            bool outside = length(x + 0.5 - centre, y + 0.5 - centre) > radius;
            if (outside &&
                (to_byte(c.r) != to_byte(ground.r) || to_byte(c.g) != to_byte(ground.g) ||
                 to_byte(c.b) != to_byte(ground.b))) {
                return false;
            }
        }
    }
    return true;
}

} // namespace

int write_web_icons(const std::string& dir) {
    const Asset icons[] = {
        {"kolvex-192", 192, 192, Layout::Rgba, AlphaRule::ClearOutsideCircle, draw_window_icon,
         192},
        {"kolvex-512", 512, 512, Layout::Rgba, AlphaRule::ClearOutsideCircle, draw_window_icon,
         512},
        {"kolvex-maskable-512", kMaskableSize, kMaskableSize, Layout::Rgb, AlphaRule::None,
         draw_full_bleed_icon, kMaskableSize},
        {"kolvex-apple-180", 180, 180, Layout::Rgb, AlphaRule::None, draw_full_bleed_icon, 180},
    };
    int failures = 0;
    for (const Asset& icon : icons) {
        const Image im = icon.draw(icon.variant);
        const std::string path = dir + "/" + icon.name + ".png";
        write_png(path, im, icon.layout);
        std::string problem;
        if (!check_file(path, icon, problem)) {
            std::fprintf(stderr, "%s: %s\n", path.c_str(), problem.c_str());
            ++failures;
        }
        if (icon.layout == Layout::Rgb && !mark_in_safe_zone(im)) {
            std::fprintf(stderr, "%s: the mark reaches beyond the safe zone\n", path.c_str());
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}

} // namespace img
