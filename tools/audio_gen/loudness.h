// Programme loudness (ITU-R BS.1770 K-weighted, gated), used to even out levels across the set.
#pragma once

#include "buffer.h"

// Integrated loudness in LUFS; -70 or lower means effectively silent.
double integratedLoudness(const Stereo& s);
