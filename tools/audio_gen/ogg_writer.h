// Writes a stereo buffer as one Ogg Vorbis stream with a fixed serial, so output is reproducible.
#pragma once

#include "buffer.h"

#include <cstdint>
#include <string>

inline constexpr long kNominalBitrate = 160000;

// Throws std::runtime_error on any encoder or file error.
void writeOggVorbis(const std::string& path, const Stereo& audio, uint32_t serial);
