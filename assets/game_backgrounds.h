// The game's backgrounds, by asset name, in the order the levels show them. The
// first is the one every game starts on and the one a new texture store names.
#pragma once

#include <array>

inline constexpr std::array<const char*, 6> kGameBackgrounds{
    "bg_beach", "bg_city", "bg_mount", "bg_road", "bg_sunset", "bg_waterfall"};
