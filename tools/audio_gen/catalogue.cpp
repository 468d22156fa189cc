// Runs the compositions and effects for the catalogue and writes the Ogg files.
#include "catalogue.h"

#include "loudness.h"
#include "music.h"
#include "ogg_writer.h"
#include "sfx.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <numbers>
#include <stdexcept>

namespace {

constexpr size_t kGameIntro = 1737310;
constexpr size_t kGameLoop = 2242854;
constexpr size_t kTitleIntro = 623323;
constexpr size_t kTitleLoop = 1205905;
constexpr size_t kGameOverLoop = 811423;
constexpr size_t kMenuEffect = 81627;

constexpr size_t kHandoverIntroFrames = 57330; // 1.3 s: 572 whole cycles of 440 Hz
constexpr size_t kHandoverLoopFrames = 22050;  // 0.5 s: 330 whole cycles of 660 Hz
constexpr float kHandoverIntroHz = 440.0f;
constexpr float kHandoverLoopHz = 660.0f;
constexpr float kHandoverLevel = 0.4f;
constexpr size_t kHandoverFadeIn = 441;

struct Piece {
    std::string prefix;
    size_t introFrames;
    size_t loopFrames;
    std::function<Score()> compose;
};

const std::vector<Piece>& pieces() {
    static const std::vector<Piece> list = {
        {"bgm_korubekusu", kGameIntro, kGameLoop,
         [] { return composeGame(kGameIntro, kGameLoop); }},
        {"bgm_title", kTitleIntro, kTitleLoop,
         [] { return composeTitle(kTitleIntro, kTitleLoop); }},
        {"bgm_gameover", 0, kGameOverLoop, [] { return composeGameOver(kGameOverLoop); }},
    };
    return list;
}

bool wanted(const std::vector<std::string>& names, const std::string& name) {
    return names.empty() || std::find(names.begin(), names.end(), name) != names.end();
}

void write(const std::string& dir, const std::string& name, const Stereo& audio) {
    writeOggVorbis(dir + "/" + name + ".ogg", audio, streamSerial(name));
    std::printf("%-26s %9zu frames  peak %6.2f dBFS  loudness %6.2f LUFS\n", name.c_str(),
                frameCount(audio), gainToDb(peakAbs(audio)), integratedLoudness(audio));
}

std::string musicFileName(const Piece& piece, bool intro) {
    if (piece.introFrames == 0) {
        return piece.prefix;
    }
    return piece.prefix + (intro ? "_intro" : "_loop");
}

int writePiece(const std::string& dir, const Piece& piece, const std::vector<std::string>& names) {
    const std::string introName = musicFileName(piece, true);
    const std::string loopName = musicFileName(piece, false);
    const bool wantIntro = piece.introFrames > 0 && wanted(names, introName);
    if (!wantIntro && !wanted(names, loopName)) {
        return 0;
    }
    const RenderedPiece r = renderPiece(piece.compose(), piece.introFrames, piece.loopFrames);
    int written = 0;
    if (wantIntro) {
        write(dir, introName, r.intro);
        std::printf("  intro spill vs loop wrap: max difference %.2f dBFS\n",
                    gainToDb(r.seamMismatch));
        ++written;
    }
    if (wanted(names, loopName)) {
        write(dir, loopName, r.loop);
        ++written;
    }
    return written;
}

Stereo tone(size_t frames, float hz, size_t fadeIn) {
    Stereo s = makeStereo(frames);
    for (size_t i = 0; i < frames; ++i) {
        const double phase = std::fmod(static_cast<double>(i) * hz / kSampleRate, 1.0);
        const auto v =
            static_cast<float>(kHandoverLevel * std::sin(2.0 * std::numbers::pi * phase));
        s.left[i] = v;
        s.right[i] = v;
    }
    fadeEdges(s, fadeIn, 0);
    return s;
}

} // namespace

const std::vector<FileSpec>& catalogue() {
    static const std::vector<FileSpec> list = {
        {"bgm_korubekusu_intro", kGameIntro},
        {"bgm_korubekusu_loop", kGameLoop},
        {"bgm_title_intro", kTitleIntro},
        {"bgm_title_loop", kTitleLoop},
        {"bgm_gameover", kGameOverLoop},
        {"sfx_countdown", 105414},
        {"sfx_drop", 38000},
        {"sfx_hold_block", 44928},
        {"sfx_line_clear", 89547},
        {"sfx_level_up", 37234},
        {"sfx_pause", kMenuEffect},
        {"sfx_resume", kMenuEffect},
        {"sfx_select", kMenuEffect},
        {"sfx_confirm", kMenuEffect},
        {"sfx_quit", kMenuEffect},
        {"sfx_gameover", 220360},
    };
    return list;
}

uint32_t streamSerial(const std::string& name) {
    uint32_t hash = 2166136261u; // FNV-1a
    for (unsigned char c : name) {
        hash = (hash ^ c) * 16777619u;
    }
    return hash;
}

int generate(const std::string& outDir, const std::vector<std::string>& names) {
    for (const auto& n : names) {
        const auto& list = catalogue();
        if (std::none_of(list.begin(), list.end(),
                         [&](const FileSpec& f) { return f.name == n; })) {
            throw std::runtime_error("unknown file name: " + n);
        }
    }
    int written = 0;
    for (const Piece& piece : pieces()) {
        written += writePiece(outDir, piece, names);
    }
    for (const FileSpec& f : catalogue()) {
        if (f.name.rfind("sfx_", 0) == 0 && wanted(names, f.name)) {
            write(outDir, f.name, renderEffect(f.name, f.frames));
            ++written;
        }
    }
    return written;
}

void generateTestPair(const std::string& outDir) {
    // Whole cycles in both parts: the intro ends at phase zero where the loop begins.
    write(outDir, "handover_intro", tone(kHandoverIntroFrames, kHandoverIntroHz, kHandoverFadeIn));
    write(outDir, "handover_loop", tone(kHandoverLoopFrames, kHandoverLoopHz, 0));
}
