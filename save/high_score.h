// The three personal bests kept across runs in "kolvex.sav".
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

struct HighScoreRecord {
    std::string magic = "SAV";
    std::uint8_t version = 1;
    std::uint32_t bestScore = 0;
    std::uint16_t bestLines = 0;
    std::uint16_t bestLevel = 0;
};

// The stdio and POSIX calls a save goes through. They default to the real ones;
// the unit tests swap single entries to make one step of a save fail.
struct SaveFileOps {
    std::FILE* (*open)(const char* path, const char* mode);
    std::size_t (*write)(const void* data, std::size_t size, std::size_t count, std::FILE* file);
    int (*flush)(std::FILE* file);
    int (*sync)(std::FILE* file);
    int (*close)(std::FILE* file);
    int (*rename)(const char* from, const char* to);
    int (*remove)(const char* path);
};

extern const SaveFileOps kRealSaveFileOps;
extern SaveFileOps saveFileOps;

HighScoreRecord loadHighScore();
bool saveHighScore(std::uint32_t score, std::uint16_t lines, std::uint16_t level);

// The record a file of these bytes holds: the defaults for anything malformed.
HighScoreRecord parseHighScore(const std::vector<unsigned char>& bytes);

std::vector<unsigned char> readWholeFile(const std::string& path);
// Writes the lines, each ended by a line feed, to a temporary file beside
// `path` and renames it over `path` only once it is safely on disk; on any
// failure `path` is left as it was and false is returned.
bool writeLines(const std::string& path, const std::vector<std::string>& lines);
