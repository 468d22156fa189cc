// libvorbis encoding: exactly the given frames go in, so the last granule equals the frame count.
#include "ogg_writer.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <stdexcept>

namespace {

constexpr int kChannels = 2;
constexpr size_t kChunkFrames = 1024;

using File = std::unique_ptr<FILE, int (*)(FILE*)>;

void writePage(FILE* f, const ogg_page& page) {
    if (fwrite(page.header, 1, page.header_len, f) != static_cast<size_t>(page.header_len) ||
        fwrite(page.body, 1, page.body_len, f) != static_cast<size_t>(page.body_len)) {
        throw std::runtime_error("write failed");
    }
}

struct Encoder {
    vorbis_info info;
    vorbis_comment comment;
    vorbis_dsp_state dsp;
    vorbis_block block;
    ogg_stream_state stream;
};

void drain(Encoder& e, FILE* f, bool last) {
    ogg_packet packet;
    ogg_page page;
    while (vorbis_analysis_blockout(&e.dsp, &e.block) == 1) {
        vorbis_analysis(&e.block, nullptr);
        vorbis_bitrate_addblock(&e.block);
        while (vorbis_bitrate_flushpacket(&e.dsp, &packet)) {
            ogg_stream_packetin(&e.stream, &packet);
            while (ogg_stream_pageout(&e.stream, &page)) {
                writePage(f, page);
            }
        }
    }
    while (last && ogg_stream_flush(&e.stream, &page)) {
        writePage(f, page);
    }
}

void writeHeaders(Encoder& e, FILE* f) {
    ogg_packet id, comments, codebooks;
    vorbis_analysis_headerout(&e.dsp, &e.comment, &id, &comments, &codebooks);
    ogg_stream_packetin(&e.stream, &id);
    ogg_stream_packetin(&e.stream, &comments);
    ogg_stream_packetin(&e.stream, &codebooks);
    ogg_page page;
    // Flush so the first audio packet starts on its own page, as players expect.
    while (ogg_stream_flush(&e.stream, &page)) {
        writePage(f, page);
    }
}

} // namespace

void writeOggVorbis(const std::string& path, const Stereo& audio, uint32_t serial) {
    File file(std::fopen(path.c_str(), "wb"), &std::fclose);
    if (!file) {
        throw std::runtime_error("cannot open " + path);
    }
    Encoder e;
    vorbis_info_init(&e.info);
    if (vorbis_encode_init(&e.info, kChannels, kSampleRate, -1, kNominalBitrate, -1) != 0) {
        throw std::runtime_error("vorbis_encode_init failed");
    }
    vorbis_comment_init(&e.comment);
    vorbis_analysis_init(&e.dsp, &e.info);
    vorbis_block_init(&e.dsp, &e.block);
    ogg_stream_init(&e.stream, static_cast<int>(serial));
    writeHeaders(e, file.get());

    const size_t frames = frameCount(audio);
    for (size_t at = 0; at < frames; at += kChunkFrames) {
        const size_t n = std::min(kChunkFrames, frames - at);
        float** in = vorbis_analysis_buffer(&e.dsp, static_cast<int>(n));
        for (size_t i = 0; i < n; ++i) {
            in[0][i] = audio.left[at + i];
            in[1][i] = audio.right[at + i];
        }
        vorbis_analysis_wrote(&e.dsp, static_cast<int>(n));
        drain(e, file.get(), false);
    }
    vorbis_analysis_wrote(&e.dsp, 0);
    drain(e, file.get(), true);

    ogg_stream_clear(&e.stream);
    vorbis_block_clear(&e.block);
    vorbis_dsp_clear(&e.dsp);
    vorbis_comment_clear(&e.comment);
    vorbis_info_clear(&e.info);
}
