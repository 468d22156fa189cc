// gen_images: draws the game's pictures into a folder, checks a folder of them, or lays them out
// on a contact sheet for review.
#include "catalogue.h"

#include <cstdio>
#include <exception>
#include <string>
#include <vector>

namespace {

constexpr const char* kUsage = "usage: gen_images <out-dir> [asset-name ...]\n"
                               "       gen_images --check <asset-dir>\n"
                               "       gen_images --check-one <file.png> <asset-name>\n"
                               "       gen_images --contact-sheet <out.png> <asset-dir>\n"
                               "       gen_images --desktop-icons <dir>\n"
                               "       gen_images --web-icons <dir>\n";

int generate(const std::string& dir, const std::vector<std::string>& names) {
    std::vector<const img::Asset*> todo;
    if (names.empty()) {
        for (const img::Asset& a : img::catalogue()) {
            todo.push_back(&a);
        }
    }
    for (const std::string& n : names) {
        const img::Asset* a = img::find_asset(n);
        if (!a) {
            std::fprintf(stderr, "unknown picture: %s\n", n.c_str());
            return 2;
        }
        todo.push_back(a);
    }
    for (const img::Asset* a : todo) {
        img::Image im = a->draw(a->variant);
        if (im.w != a->w || im.h != a->h) {
            std::fprintf(stderr, "%s drew %dx%d, expected %dx%d\n", a->name.c_str(), im.w, im.h,
                         a->w, a->h);
            return 1;
        }
        img::write_png(dir + "/" + a->name + ".png", im, a->layout);
    }
    return 0;
}

int check_one(const std::string& path, const std::string& name) {
    const img::Asset* a = img::find_asset(name);
    if (!a) {
        std::fprintf(stderr, "unknown picture: %s\n", name.c_str());
        return 2;
    }
    std::string problem;
    if (!img::check_file(path, *a, problem)) {
        std::fprintf(stderr, "%s: %s\n", path.c_str(), problem.c_str());
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    try {
        if (args.size() == 2 && args[0] == "--check") {
            return img::check_directory(args[1]);
        }
        if (args.size() == 3 && args[0] == "--check-one") {
            return check_one(args[1], args[2]);
        }
        if (args.size() == 3 && args[0] == "--contact-sheet") {
            return img::write_contact_sheet(args[2], args[1]);
        }
        if (args.size() == 2 && args[0] == "--desktop-icons") {
            return img::write_desktop_icons(args[1]);
        }
        if (args.size() == 2 && args[0] == "--web-icons") {
            return img::write_web_icons(args[1]);
        }
        if (args.empty() || args[0].starts_with("-")) {
            std::fputs(kUsage, stderr);
            return 2;
        }
        return generate(args[0], std::vector<std::string>(args.begin() + 1, args.end()));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "gen_images: %s\n", e.what());
        return 1;
    }
}
