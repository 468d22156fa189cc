// The three personal bests kept across runs in "kolvex.sav".
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct HighScoreRecord {
    std::string magic = "SAV";
    std::uint8_t version = 1;
    std::uint32_t bestScore = 0;
    std::uint16_t bestLines = 0;
    std::uint16_t bestLevel = 0;
};

HighScoreRecord loadHighScore();
bool saveHighScore(std::uint32_t score, std::uint16_t lines, std::uint16_t level);

std::vector<unsigned char> readWholeFile(const std::string& path);
bool writeLines(const std::string& path, const std::vector<std::string>& lines);
