// The desktop menu icons: the window icon's badge at the usual theme sizes, drawn once at full
// size and shrunk with an area filter, laid out as <dir>/hicolor/<N>x<N>/apps/kolvex.png.
#include "catalogue.h"

#include <cstdio>
#include <filesystem>
#include <string>

namespace img {

namespace {

constexpr int kDesktopSizes[] = {48, 64, 128, 256};

} // namespace

int write_desktop_icons(const std::string& dir) {
    const Image full = draw_icon(0);
    int failures = 0;
    for (int n : kDesktopSizes) {
        std::string side = std::to_string(n);
        std::filesystem::path folder =
            std::filesystem::path(dir) / "hicolor" / (side + "x" + side) / "apps";
        std::filesystem::create_directories(folder);
        std::string path = (folder / "kolvex.png").string();
        write_png(path, downsample_area(full, n, n), Layout::Rgba);
        // The same rules as the window icon, at this size: RGBA, clear beyond the badge.
        const Asset sized{"kolvex",         n, n, Layout::Rgba, AlphaRule::ClearOutsideCircle,
                          draw_window_icon, n};
        std::string problem;
        if (!check_file(path, sized, problem)) {
            std::fprintf(stderr, "%s: %s\n", path.c_str(), problem.c_str());
            ++failures;
        }
    }
    return failures == 0 ? 0 : 1;
}

} // namespace img
