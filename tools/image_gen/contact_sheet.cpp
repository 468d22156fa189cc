// Lays every shipped picture out on one sheet so the whole set can be reviewed at a glance.
// Small frames are enlarged on a checkerboard so their transparency shows.
#include "catalogue.h"

#include <cmath>
#include <cstdio>

namespace img {

namespace {

constexpr int kSheetW = 1624;
constexpr int kGap = 12;
constexpr int kThumb = 254; // backgrounds
constexpr int kTitleThumbW = 320;
constexpr int kFrameScale = 3; // sparkle and smoke frames
constexpr int kChecker = 8;
const Color kSheetBg = hex(0x1C1C22);

Color checker(int x, int y) {
    return ((x / kChecker + y / kChecker) % 2) ? hex(0x2C2C34) : hex(0x383842);
}

// Box-filters (when shrinking) or repeats pixels (when enlarging) into the target rectangle.
void place(Image& sheet, const Image& src, int x0, int y0, int w, int h) {
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            int sx0 = x * src.w / w;
            int sx1 = std::max(sx0 + 1, (x + 1) * src.w / w);
            int sy0 = y * src.h / h;
            int sy1 = std::max(sy0 + 1, (y + 1) * src.h / h);
            double r = 0, g = 0, b = 0, a = 0;
            for (int sy = sy0; sy < sy1; ++sy) {
                for (int sx = sx0; sx < sx1; ++sx) {
                    const Color& c = src.at(sx, sy);
                    r += c.r * c.a;
                    g += c.g * c.a;
                    b += c.b * c.a;
                    a += c.a;
                }
            }
            int px = x0 + x;
            int py = y0 + y;
            if (px >= sheet.w || py >= sheet.h) {
                continue;
            }
            sheet.at(px, py) = checker(px, py);
            if (a > 0) {
                int n = (sx1 - sx0) * (sy1 - sy0);
                Color avg{static_cast<float>(r / a), static_cast<float>(g / a),
                          static_cast<float>(b / a), 1.0f};
                blend(sheet, px, py, avg, a / n);
            }
        }
    }
}

bool load(const std::string& dir, const std::string& name, Image& out) {
    PngFile f;
    std::string error;
    if (!read_png(dir + "/" + name + ".png", f, error) || f.bit_depth != 8) {
        std::fprintf(stderr, "%s: cannot read (%s)\n", name.c_str(), error.c_str());
        return false;
    }
    out = to_image(f);
    return true;
}

} // namespace

int write_contact_sheet(const std::string& dir, const std::string& out) {
    const int title_h = kTitleThumbW * 755 / 900;
    const int frames_h = 2 * (38 * kFrameScale + kGap);
    const int sheet_h = kGap + kThumb + kGap + title_h + kGap + frames_h + kGap;
    Image sheet = make_image(kSheetW, sheet_h, kSheetBg);
    const char* backgrounds[] = {"bg_beach", "bg_city",   "bg_mount",
                                 "bg_road",  "bg_sunset", "bg_waterfall"};
    Image pic;
    int x = kGap;
    for (const char* name : backgrounds) {
        if (!load(dir, name, pic)) {
            return 1;
        }
        place(sheet, pic, x, kGap, kThumb, kThumb);
        x += kThumb + kGap;
    }
    int y = kGap * 2 + kThumb;
    x = kGap;
    for (const char* name : {"tx_titlebg", "tx_htpbg"}) {
        if (!load(dir, name, pic)) {
            return 1;
        }
        place(sheet, pic, x, y, kTitleThumbW, title_h);
        x += kTitleThumbW + kGap;
    }
    if (!load(dir, "icon", pic)) {
        return 1;
    }
    place(sheet, pic, x, y, title_h, title_h);
    x += title_h + kGap;
    if (!load(dir, "tx_block", pic)) {
        return 1;
    }
    place(sheet, pic, x, y, 32 * 4, 32 * 4);
    y += title_h + kGap;
    for (int row = 0; row < 2; ++row) {
        x = kGap;
        for (int i = 1; i <= 16; ++i) {
            std::string name = (row == 0 ? "vfx_sparkle" : "vfx_smoke") + std::to_string(i);
            if (!load(dir, name, pic)) {
                return 1;
            }
            place(sheet, pic, x, y, pic.w * kFrameScale, pic.h * kFrameScale);
            x += 32 * kFrameScale + 4;
        }
        y += 38 * kFrameScale + kGap;
    }
    write_png(out, sheet, Layout::Rgb);
    return 0;
}

} // namespace img
