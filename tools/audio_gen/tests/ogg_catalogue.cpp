// Checks the committed Ogg Vorbis files against the catalogue the game relies on: one logical
// stream each, stereo, 44.1 kHz, nominal 160 kbit/s, and an exact length in frames (the last
// page's granule position). Parses the Ogg framing itself so it needs no audio libraries.
//   ogg_catalogue <assets-dir>          every catalogue file present, valid, and nothing extra
//   ogg_catalogue --test-pair <dir>     the handover test pair
//   ogg_catalogue --self-test <assets-dir>   damaged copies of a real file must be rejected
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

constexpr uint32_t kChannels = 2;
constexpr uint32_t kRate = 44100;
constexpr int32_t kNominalBitrate = 160000;
constexpr size_t kPageHeader = 27;
constexpr uint8_t kFlagBos = 0x02;
constexpr uint8_t kFlagEos = 0x04;
constexpr size_t kCrcOffset = 22;
constexpr size_t kSerialOffset = 14;
constexpr size_t kChannelsInIdHeader = 11;

const std::map<std::string, uint64_t> kAssets = {
    {"bgm_korubekusu_intro.ogg", 1737310},
    {"bgm_korubekusu_loop.ogg", 2242854},
    {"bgm_title_intro.ogg", 623323},
    {"bgm_title_loop.ogg", 1205905},
    {"bgm_gameover.ogg", 811423},
    {"sfx_countdown.ogg", 105414},
    {"sfx_drop.ogg", 38000},
    {"sfx_hold_block.ogg", 44928},
    {"sfx_line_clear.ogg", 89547},
    {"sfx_level_up.ogg", 37234},
    {"sfx_pause.ogg", 81627},
    {"sfx_resume.ogg", 81627},
    {"sfx_select.ogg", 81627},
    {"sfx_confirm.ogg", 81627},
    {"sfx_quit.ogg", 81627},
    {"sfx_gameover.ogg", 220360},
};

const std::map<std::string, uint64_t> kTestPair = {
    {"handover_intro.ogg", 57330},
    {"handover_loop.ogg", 22050},
};

uint32_t le32(const Bytes& b, size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

uint64_t le64(const Bytes& b, size_t at) {
    return le32(b, at) | static_cast<uint64_t>(le32(b, at + 4)) << 32;
}

// Ogg's CRC-32: polynomial 0x04C11DB7, no reflection, zero initial value.
uint32_t oggCrc(const Bytes& b, size_t from, size_t length) {
    uint32_t crc = 0;
    for (size_t i = 0; i < length; ++i) {
        const uint8_t byte =
            (from + i >= from + kCrcOffset && from + i < from + kCrcOffset + 4) ? 0 : b[from + i];
        crc ^= static_cast<uint32_t>(byte) << 24;
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc & 0x80000000u) ? (crc << 1) ^ 0x04C11DB7u : crc << 1;
        }
    }
    return crc;
}

struct Page {
    size_t offset;
    size_t length;
    uint8_t flags;
    uint64_t granule;
    uint32_t serial;
    uint32_t sequence;
    size_t bodyOffset;
};

// Returns an error message, or nothing when `bytes` is a valid stream of `frames` frames.
std::optional<std::string> check(const Bytes& b, uint64_t frames) {
    std::vector<Page> pages;
    size_t at = 0;
    while (at < b.size()) {
        if (b.size() - at < kPageHeader || b[at] != 'O' || b[at + 1] != 'g' || b[at + 2] != 'g' ||
            b[at + 3] != 'S' || b[at + 4] != 0) {
            return "no Ogg page at byte " + std::to_string(at);
        }
        const size_t segments = b[at + 26];
        if (b.size() - at < kPageHeader + segments) {
            return "truncated page header";
        }
        size_t body = 0;
        for (size_t s = 0; s < segments; ++s) {
            body += b[at + kPageHeader + s];
        }
        const size_t length = kPageHeader + segments + body;
        if (b.size() - at < length) {
            return "truncated page body";
        }
        if (oggCrc(b, at, length) != le32(b, at + kCrcOffset)) {
            return "page checksum mismatch at byte " + std::to_string(at);
        }
        pages.push_back({at, length, b[at + 5], le64(b, at + 6), le32(b, at + kSerialOffset),
                         le32(b, at + 18), at + kPageHeader + segments});
        at += length;
    }
    if (pages.empty()) {
        return "empty file";
    }
    for (size_t i = 0; i < pages.size(); ++i) {
        if (pages[i].serial != pages[0].serial) {
            return "more than one logical stream";
        }
        if (pages[i].sequence != i) {
            return "page sequence gap";
        }
        const bool bos = pages[i].flags & kFlagBos, eos = pages[i].flags & kFlagEos;
        if (bos != (i == 0) || eos != (i + 1 == pages.size())) {
            return "stream start/end flags misplaced";
        }
    }
    const Page& first = pages[0];
    if (first.length - (first.bodyOffset - first.offset) < 30) {
        return "identification header too short";
    }
    const size_t id = first.bodyOffset;
    if (b[id] != 1 || std::string(b.begin() + id + 1, b.begin() + id + 7) != "vorbis") {
        return "first packet is not a Vorbis identification header";
    }
    if (b[id + kChannelsInIdHeader] != kChannels) {
        return "channels " + std::to_string(b[id + kChannelsInIdHeader]);
    }
    if (le32(b, id + 12) != kRate) {
        return "rate " + std::to_string(le32(b, id + 12));
    }
    if (static_cast<int32_t>(le32(b, id + 20)) != kNominalBitrate) {
        return "nominal bitrate " + std::to_string(static_cast<int32_t>(le32(b, id + 20)));
    }
    if (pages.back().granule != frames) {
        return "length " + std::to_string(pages.back().granule) + " frames, expected " +
               std::to_string(frames);
    }
    return std::nullopt;
}

Bytes load(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

int report(int passed, int failed) {
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 && passed > 0 ? 0 : 1;
}

int checkFolder(const fs::path& dir, const std::map<std::string, uint64_t>& table) {
    int passed = 0, failed = 0;
    for (const auto& [name, frames] : table) {
        const fs::path path = dir / name;
        const auto error = fs::exists(path) ? check(load(path), frames) : "missing";
        std::printf("%-28s %s\n", name.c_str(), error ? error->c_str() : "ok");
        error ? ++failed : ++passed;
    }
    for (const auto& entry : fs::directory_iterator(dir)) {
        const std::string name = entry.path().filename().string();
        if (entry.path().extension() == ".ogg" && !table.count(name)) {
            std::printf("%-28s not in the catalogue\n", name.c_str());
            ++failed;
        }
    }
    return report(passed, failed);
}

void rewriteCrc(Bytes& b, size_t page, size_t length) {
    const uint32_t crc = oggCrc(b, page, length);
    for (int i = 0; i < 4; ++i) {
        b[page + kCrcOffset + i] = static_cast<uint8_t>(crc >> (8 * i));
    }
}

size_t pageLength(const Bytes& b, size_t at) {
    size_t body = 0;
    for (size_t s = 0; s < b[at + 26]; ++s) {
        body += b[at + kPageHeader + s];
    }
    return kPageHeader + b[at + 26] + body;
}

// Each damaged copy must be rejected; the undamaged original must pass.
int selfTest(const fs::path& dir) {
    const std::string name = "sfx_drop.ogg";
    const uint64_t frames = kAssets.at(name);
    const Bytes original = load(dir / name);
    int passed = 0, failed = 0;
    auto expect = [&](const char* what, const Bytes& bytes, uint64_t expected, bool valid) {
        const auto error = check(bytes, expected);
        const bool ok = valid ? !error.has_value() : error.has_value();
        std::printf("%-34s %s (%s)\n", what, ok ? "ok" : "WRONG",
                    error ? error->c_str() : "accepted");
        ok ? ++passed : ++failed;
    };
    expect("original accepted", original, frames, true);
    expect("wrong expected length rejected", original, frames + 1, false);

    Bytes half(original.begin(), original.begin() + original.size() / 2);
    expect("truncated to half rejected", half, frames, false);

    const size_t secondPage = pageLength(original, 0);
    size_t lastPage = 0;
    for (size_t at = 0; at < original.size(); at += pageLength(original, at)) {
        lastPage = at;
    }
    Bytes withoutLast(original.begin(), original.begin() + lastPage);
    expect("last page removed rejected", withoutLast, frames, false);

    Bytes flipped = original;
    flipped[flipped.size() / 2] ^= 0x40;
    expect("corrupted byte rejected", flipped, frames, false);

    Bytes otherSerial = original;
    otherSerial[secondPage + kSerialOffset] ^= 0x01;
    rewriteCrc(otherSerial, secondPage, pageLength(otherSerial, secondPage));
    expect("second stream serial rejected", otherSerial, frames, false);

    Bytes mono = original;
    mono[kPageHeader + mono[26] + kChannelsInIdHeader] = 1;
    rewriteCrc(mono, 0, pageLength(mono, 0));
    expect("mono header rejected", mono, frames, false);

    Bytes trailing = original;
    trailing.push_back('x');
    expect("trailing garbage rejected", trailing, frames, false);
    return report(passed, failed);
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 2) {
        return checkFolder(argv[1], kAssets);
    }
    if (argc == 3 && std::string(argv[1]) == "--test-pair") {
        return checkFolder(argv[2], kTestPair);
    }
    if (argc == 3 && std::string(argv[1]) == "--self-test") {
        return selfTest(argv[2]);
    }
    std::fprintf(stderr, "usage: ogg_catalogue [--test-pair|--self-test] <dir>\n");
    return 2;
}
