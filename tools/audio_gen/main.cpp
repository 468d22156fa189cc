// gen_audio: renders the game's music and effects to Ogg Vorbis files.
//   gen_audio <out-dir> [name ...]   every catalogue file, or only the named ones
//   gen_audio --test-pair <out-dir>  the short handover pair for the audio manager test
#include "catalogue.h"

#include <chrono>
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

namespace {

int usage() {
    std::fprintf(stderr, "usage: gen_audio <out-dir> [name ...]\n"
                         "       gen_audio --test-pair <out-dir>\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        return usage();
    }
    const auto started = std::chrono::steady_clock::now();
    try {
        const std::string first = argv[1];
        if (first == "--test-pair") {
            if (argc != 3) {
                return usage();
            }
            generateTestPair(argv[2]);
        } else {
            const std::vector<std::string> names(argv + 2, argv + argc);
            const int written = generate(first, names);
            std::printf("%d file(s) written\n", written);
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "gen_audio: %s\n", e.what());
        return 1;
    }
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - started;
    std::printf("done in %.1f s\n", took.count());
    return 0;
}
