// audio_probe: decodes Ogg files to check what players will hear.
//   audio_probe stats <file.ogg> ...            frames, peak and loudness after decoding
//   audio_probe seam <from.ogg> <to.ogg> <out.wav>
//       measures the join where `to` starts right after `from` ends and writes 2 s either side
//       as a WAV for listening and drawing.
//   audio_probe point <file.ogg> <frame>
//       the same measurements at an interior frame (e.g. a downbeat), as a reference for what
//       an ordinary bar line inside the music measures.
#include "buffer.h"
#include "loudness.h"

#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr size_t kContextFrames = 2 * kSampleRate;
constexpr size_t kShortWindow = kSampleRate / 100; // 10 ms
constexpr size_t kLongWindow = kSampleRate / 20;   // 50 ms

Stereo decode(const std::string& path) {
    OggVorbis_File vf;
    if (ov_fopen(path.c_str(), &vf) != 0) {
        throw std::runtime_error("cannot decode " + path);
    }
    Stereo out;
    for (;;) {
        float** pcm = nullptr;
        int section = 0;
        const long n = ov_read_float(&vf, &pcm, 4096, &section);
        if (n < 0) {
            ov_clear(&vf);
            throw std::runtime_error("decode error in " + path);
        }
        if (n == 0) {
            break;
        }
        const int channels = ov_info(&vf, -1)->channels;
        for (long i = 0; i < n; ++i) {
            out.left.push_back(pcm[0][i]);
            out.right.push_back(pcm[channels > 1 ? 1 : 0][i]);
        }
    }
    ov_clear(&vf);
    return out;
}

double rmsDb(const Stereo& s, size_t from, size_t frames) {
    double sum = 0.0;
    for (size_t i = from; i < from + frames; ++i) {
        sum += s.left[i] * s.left[i] + s.right[i] * s.right[i];
    }
    return 10.0 * std::log10(std::max(sum / (2.0 * frames), 1e-20));
}

float largestStep(const Stereo& s, size_t from, size_t to) {
    float worst = 0.0f;
    for (size_t i = from + 1; i < to; ++i) {
        worst = std::max(worst, std::fabs(s.left[i] - s.left[i - 1]));
        worst = std::max(worst, std::fabs(s.right[i] - s.right[i - 1]));
    }
    return worst;
}

void put32(FILE* f, uint32_t v) {
    std::fwrite(&v, 4, 1, f);
}
void put16(FILE* f, uint16_t v) {
    std::fwrite(&v, 2, 1, f);
}

void writeWav(const std::string& path, const Stereo& s) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) {
        throw std::runtime_error("cannot write " + path);
    }
    const uint32_t bytes = static_cast<uint32_t>(frameCount(s) * 2 * sizeof(float));
    std::fwrite("RIFF", 1, 4, f);
    put32(f, 36 + bytes);
    std::fwrite("WAVEfmt ", 1, 8, f);
    put32(f, 16);
    put16(f, 3); // IEEE float
    put16(f, 2);
    put32(f, kSampleRate);
    put32(f, kSampleRate * 2 * sizeof(float));
    put16(f, 2 * sizeof(float));
    put16(f, 32);
    std::fwrite("data", 1, 4, f);
    put32(f, bytes);
    for (size_t i = 0; i < frameCount(s); ++i) {
        std::fwrite(&s.left[i], sizeof(float), 1, f);
        std::fwrite(&s.right[i], sizeof(float), 1, f);
    }
    std::fclose(f);
}

int stats(int argc, char** argv) {
    for (int i = 2; i < argc; ++i) {
        const Stereo s = decode(argv[i]);
        std::printf("%-40s %9zu frames  peak %6.2f dBFS  loudness %6.2f LUFS\n", argv[i],
                    frameCount(s), gainToDb(peakAbs(s)), integratedLoudness(s));
    }
    return 0;
}

void measure(const Stereo& s, size_t at) {
    const float jump =
        std::max(std::fabs(s.left[at] - s.left[at - 1]), std::fabs(s.right[at] - s.right[at - 1]));
    // Largest sample-to-sample step in the 10 ms on each side, excluding the join itself.
    const float nearby =
        std::max(largestStep(s, at - kShortWindow, at), largestStep(s, at, at + kShortWindow));
    std::printf("  step across join %.5f  largest step within 10 ms either side %.5f\n", jump,
                nearby);
    for (size_t window : {kShortWindow, kLongWindow}) {
        const double pre = rmsDb(s, at - window, window);
        const double post = rmsDb(s, at, window);
        std::printf("  rms %zu ms before/after %.2f / %.2f dB (diff %+.2f)\n",
                    window * 1000 / kSampleRate, pre, post, post - pre);
    }
}

int seam(const std::string& fromPath, const std::string& toPath, const std::string& wavPath) {
    const Stereo from = decode(fromPath);
    const Stereo to = decode(toPath);
    const size_t before = std::min(kContextFrames, frameCount(from));
    const size_t after = std::min(kContextFrames, frameCount(to));
    Stereo joined = makeStereo(before + after);
    for (size_t i = 0; i < before; ++i) {
        joined.left[i] = from.left[frameCount(from) - before + i];
        joined.right[i] = from.right[frameCount(from) - before + i];
    }
    for (size_t i = 0; i < after; ++i) {
        joined.left[before + i] = to.left[i];
        joined.right[before + i] = to.right[i];
    }
    std::printf("seam %s -> %s\n", fromPath.c_str(), toPath.c_str());
    measure(joined, before);
    writeWav(wavPath, joined);
    return 0;
}

int point(const std::string& path, size_t at) {
    const Stereo s = decode(path);
    if (at < kLongWindow || at + kLongWindow > frameCount(s)) {
        throw std::runtime_error("frame too close to an end");
    }
    std::printf("point %s @ %zu\n", path.c_str(), at);
    measure(s, at);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    try {
        const std::string command = argc > 1 ? argv[1] : "";
        if (command == "stats" && argc > 2) {
            return stats(argc, argv);
        }
        if (command == "seam" && argc == 5) {
            return seam(argv[2], argv[3], argv[4]);
        }
        if (command == "point" && argc == 4) {
            return point(argv[2], std::stoul(argv[3]));
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "audio_probe: %s\n", e.what());
        return 1;
    }
    std::fprintf(stderr, "usage: audio_probe stats <file.ogg> ...\n"
                         "       audio_probe seam <from.ogg> <to.ogg> <out.wav>\n"
                         "       audio_probe point <file.ogg> <frame>\n");
    return 2;
}
