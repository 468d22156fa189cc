// The embedded files as the tests and benchmarks that use the real decoders see
// them: every picture with the pixel size the game was drawn for, every Ogg file
// with its length in frames.
#pragma once

#include "assets/embedded_assets.h"

#include <string_view>
#include <vector>

struct EmbeddedPicture {
    const char* name;
    const unsigned char* bytes;
    unsigned int length;
    int width;
    int height;
};

struct EmbeddedTrack {
    const char* name;
    const unsigned char* bytes;
    unsigned int length;
    unsigned int frames;
};

#define KOLVEX_PICTURE(n, w, h)                                                                    \
    EmbeddedPicture {                                                                              \
#n, n##_png, n##_png_len, w, h                                                             \
    }
#define KOLVEX_TRACK(n, frames)                                                                    \
    EmbeddedTrack {                                                                                \
#n, n##_ogg, n##_ogg_len, frames                                                           \
    }

// Every picture but the window icons, which have no asset name.
inline const std::vector<EmbeddedPicture>& embeddedPictures() {
    static const std::vector<EmbeddedPicture> all = {
        KOLVEX_PICTURE(tx_block, 32, 32),         KOLVEX_PICTURE(tx_titlebg, 900, 755),
        KOLVEX_PICTURE(tx_htpbg, 900, 755),       KOLVEX_PICTURE(bg_beach, 1280, 1280),
        KOLVEX_PICTURE(bg_city, 1280, 1280),      KOLVEX_PICTURE(bg_mount, 1280, 1280),
        KOLVEX_PICTURE(bg_road, 1280, 1280),      KOLVEX_PICTURE(bg_sunset, 1280, 1280),
        KOLVEX_PICTURE(bg_waterfall, 1280, 1280), KOLVEX_PICTURE(vfx_sparkle1, 32, 32),
        KOLVEX_PICTURE(vfx_sparkle2, 32, 32),     KOLVEX_PICTURE(vfx_sparkle3, 32, 32),
        KOLVEX_PICTURE(vfx_sparkle4, 32, 32),     KOLVEX_PICTURE(vfx_sparkle5, 32, 32),
        KOLVEX_PICTURE(vfx_sparkle6, 32, 32),     KOLVEX_PICTURE(vfx_sparkle7, 32, 32),
        KOLVEX_PICTURE(vfx_sparkle8, 32, 32),     KOLVEX_PICTURE(vfx_sparkle9, 32, 32),
        KOLVEX_PICTURE(vfx_sparkle10, 32, 32),    KOLVEX_PICTURE(vfx_sparkle11, 32, 32),
        KOLVEX_PICTURE(vfx_sparkle12, 32, 32),    KOLVEX_PICTURE(vfx_sparkle13, 32, 32),
        KOLVEX_PICTURE(vfx_sparkle14, 32, 32),    KOLVEX_PICTURE(vfx_sparkle15, 32, 32),
        KOLVEX_PICTURE(vfx_sparkle16, 32, 32),    KOLVEX_PICTURE(vfx_smoke1, 32, 35),
        KOLVEX_PICTURE(vfx_smoke2, 32, 30),       KOLVEX_PICTURE(vfx_smoke3, 32, 35),
        KOLVEX_PICTURE(vfx_smoke4, 32, 32),       KOLVEX_PICTURE(vfx_smoke5, 32, 36),
        KOLVEX_PICTURE(vfx_smoke6, 32, 31),       KOLVEX_PICTURE(vfx_smoke7, 32, 32),
        KOLVEX_PICTURE(vfx_smoke8, 32, 29),       KOLVEX_PICTURE(vfx_smoke9, 32, 35),
        KOLVEX_PICTURE(vfx_smoke10, 32, 38),      KOLVEX_PICTURE(vfx_smoke11, 32, 29),
        KOLVEX_PICTURE(vfx_smoke12, 32, 35),      KOLVEX_PICTURE(vfx_smoke13, 32, 35),
        KOLVEX_PICTURE(vfx_smoke14, 32, 29),      KOLVEX_PICTURE(vfx_smoke15, 32, 31),
        KOLVEX_PICTURE(vfx_smoke16, 32, 34),
    };
    return all;
}

inline const std::vector<EmbeddedTrack>& embeddedTracks() {
    static const std::vector<EmbeddedTrack> all = {
        KOLVEX_TRACK(bgm_korubekusu_intro, 1737310),
        KOLVEX_TRACK(bgm_korubekusu_loop, 2242854),
        KOLVEX_TRACK(bgm_title_intro, 623323),
        KOLVEX_TRACK(bgm_title_loop, 1205905),
        KOLVEX_TRACK(bgm_gameover, 811423),
        KOLVEX_TRACK(sfx_countdown, 105414),
        KOLVEX_TRACK(sfx_drop, 38000),
        KOLVEX_TRACK(sfx_hold_block, 44928),
        KOLVEX_TRACK(sfx_line_clear, 89547),
        KOLVEX_TRACK(sfx_level_up, 37234),
        KOLVEX_TRACK(sfx_pause, 81627),
        KOLVEX_TRACK(sfx_resume, 81627),
        KOLVEX_TRACK(sfx_select, 81627),
        KOLVEX_TRACK(sfx_confirm, 81627),
        KOLVEX_TRACK(sfx_quit, 81627),
        KOLVEX_TRACK(sfx_gameover, 220360),
    };
    return all;
}

#undef KOLVEX_PICTURE
#undef KOLVEX_TRACK

// What the game scene's enter step decodes: the block, the backgrounds and the
// effect frames (the title pictures belong to the title scene).
inline std::vector<EmbeddedPicture> gameScenePictures() {
    std::vector<EmbeddedPicture> out;
    for (const EmbeddedPicture& p : embeddedPictures()) {
        const std::string_view name = p.name;
        if (name == "tx_block" || !name.starts_with("tx_")) {
            out.push_back(p);
        }
    }
    return out;
}

// The sounds the game scene loads: every effect but the game-over one.
inline std::vector<EmbeddedTrack> gameSceneSounds() {
    std::vector<EmbeddedTrack> out;
    for (const EmbeddedTrack& t : embeddedTracks()) {
        const std::string_view name = t.name;
        if (name.starts_with("sfx_") && name != "sfx_gameover") {
            out.push_back(t);
        }
    }
    return out;
}
