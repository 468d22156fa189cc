// Sound effects: short scores in seconds, rendered and levelled like the music.
#pragma once

#include "buffer.h"

#include <cstddef>
#include <string_view>

// Renders the named effect at exactly `frames` frames; throws for an unknown name.
Stereo renderEffect(std::string_view name, size_t frames);
