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
// Merges one game's results into the stored bests, one save at a time across
// processes. False, with the file left as it is, when another save keeps the
// lock too long, the file exists but cannot be read, it is of a newer format,
// or it cannot be replaced.
bool saveHighScore(std::uint32_t score, std::uint16_t lines, std::uint16_t level);

// The record a file of these bytes holds: the defaults for anything malformed.
HighScoreRecord parseHighScore(const std::vector<unsigned char>& bytes);

// The start of the file, enough for any save: at most a bounded prefix, cut
// after its last whole line when the file goes on. Empty when unreadable.
std::vector<unsigned char> readFilePrefix(const std::string& path);
// Writes the lines, each ended by a line feed, over `path` atomically. A link
// keeps being a link: the file it leads to is replaced, but only when that is
// a save file already and the link was made by this user or root; links are
// followed on POSIX systems only. On any failure the old file is kept. Takes
// no lock: a merge calls it under the save's own.
bool writeLines(const std::string& path, const std::vector<std::string>& lines);
