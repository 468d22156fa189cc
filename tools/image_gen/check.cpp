// Verifies shipped pictures against the catalogue: the game's loader and its tinting assume these
// exact sizes and layouts, so a wrong file should fail here rather than look odd in play.
#include "catalogue.h"

#include <png.h>

#include <cstdio>

namespace img {

namespace {

int expected_color_type(Layout l) {
    switch (l) {
    case Layout::Rgb:
        return PNG_COLOR_TYPE_RGB;
    case Layout::Rgba:
        return PNG_COLOR_TYPE_RGBA;
    case Layout::Palette:
        return PNG_COLOR_TYPE_PALETTE;
    }
    return -1;
}

uint8_t alpha_at(const PngFile& f, int x, int y) {
    return f.data[(static_cast<size_t>(y) * f.w + x) * 4 + 3];
}

bool check_palette(const PngFile& f, bool grey, std::string& problem) {
    size_t entries = f.palette.size() / 3;
    for (size_t i = 1; grey && i < entries; ++i) {
        const uint8_t* p = &f.palette[i * 3];
        if (p[0] != p[1] || p[1] != p[2]) {
            problem = "palette entry is not grey";
            return false;
        }
    }
    int clear = 0;
    int partial = 0;
    for (size_t i = 0; i < entries; ++i) {
        uint8_t a = i < f.trns.size() ? f.trns[i] : 255;
        clear += a == 0;
        partial += a != 0 && a != 255;
    }
    if (f.trns.size() > entries || clear != 1 || partial != 0) {
        problem = "palette must have exactly one fully transparent entry and no partial ones";
        return false;
    }
    for (uint8_t idx : f.data) {
        if (idx >= entries) {
            problem = "pixel index beyond the palette";
            return false;
        }
    }
    return true;
}

bool check_alpha(const PngFile& f, AlphaRule rule, std::string& problem) {
    double c = f.w / 2.0;
    bool any_opaque = false;
    for (int y = 0; y < f.h; ++y) {
        for (int x = 0; x < f.w; ++x) {
            uint8_t a = alpha_at(f, x, y);
            any_opaque |= a == 255;
            double dx = x + 0.5 - c;
            double dy = y + 0.5 - f.h / 2.0;
            bool border = x == 0 || y == 0 || x == f.w - 1 || y == f.h - 1;
            if (rule == AlphaRule::AllOpaque && a != 255) {
                problem = "pixel is not opaque";
                return false;
            }
            if (rule == AlphaRule::ClearOutsideCircle && dx * dx + dy * dy > c * c && a != 0) {
                problem = "pixel outside the badge is not transparent";
                return false;
            }
            if (rule == AlphaRule::ClearBorder && border && a != 0) {
                problem = "edge pixel is not transparent";
                return false;
            }
        }
    }
    if (!any_opaque && rule != AlphaRule::ClearBorder) {
        problem = "picture has no opaque pixel at all";
        return false;
    }
    return true;
}

} // namespace

bool check_file(const std::string& path, const Asset& asset, std::string& problem) {
    PngFile f;
    if (!read_png(path, f, problem)) {
        return false;
    }
    if (f.w != asset.w || f.h != asset.h) {
        problem = "size " + std::to_string(f.w) + "x" + std::to_string(f.h) + ", expected " +
                  std::to_string(asset.w) + "x" + std::to_string(asset.h);
        return false;
    }
    if (f.color_type != expected_color_type(asset.layout) || f.bit_depth != 8 ||
        f.interlace != PNG_INTERLACE_NONE) {
        problem = "wrong colour type, bit depth or interlace";
        return false;
    }
    if (asset.layout == Layout::Palette) {
        return check_palette(f, asset.grey, problem);
    }
    if (asset.layout == Layout::Rgba) {
        return check_alpha(f, asset.rule, problem);
    }
    return true;
}

int check_directory(const std::string& dir) {
    int failures = 0;
    for (const Asset& a : catalogue()) {
        std::string problem;
        if (!check_file(dir + "/" + a.name + ".png", a, problem)) {
            std::fprintf(stderr, "%s: %s\n", a.name.c_str(), problem.c_str());
            ++failures;
        }
    }
    std::printf("%zu pictures checked, %d failed\n", catalogue().size(), failures);
    return failures == 0 ? 0 : 1;
}

} // namespace img
