// Reading, merging and safely rewriting the high-score file.
#include "save/high_score.h"

#include "save/browser_storage.h"
#include "save/file_replace.h"

#include <algorithm>
#include <cstdio>
#include <optional>

namespace {

const char* const kFileName = "kolvex.sav";
constexpr std::size_t kLineCount = 5;
// The file as written is a few dozen bytes, and only its first five lines
// count, so a bounded start of it is all that is ever read.
constexpr std::size_t kReadLimit = 64 * 1024;

std::vector<std::string> splitNonEmptyLines(const std::vector<unsigned char>& bytes) {
    std::vector<std::string> lines;
    std::string line;
    for (std::size_t i = 0; i <= bytes.size(); ++i) {
        if (i < bytes.size() && bytes[i] != '\n') {
            line.push_back(static_cast<char>(bytes[i]));
            continue;
        }
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (!line.empty()) {
            lines.push_back(line);
        }
        line.clear();
    }
    return lines;
}

bool isSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// An unsigned decimal of 32 bits: leading white space, an optional sign (minus
// negating modulo 2^32), digits up to the first non-digit. No digit at all, or a
// value beyond 32 bits, is no number.
std::optional<std::uint32_t> parseNumber(const std::string& line) {
    std::size_t i = 0;
    while (i < line.size() && isSpace(line[i])) {
        ++i;
    }
    bool negative = false;
    if (i < line.size() && (line[i] == '+' || line[i] == '-')) {
        negative = line[i] == '-';
        ++i;
    }
    if (i == line.size() || !isDigit(line[i])) {
        return std::nullopt;
    }
    std::uint64_t value = 0;
    for (; i < line.size() && isDigit(line[i]); ++i) {
        value = value * 10 + static_cast<std::uint64_t>(line[i] - '0');
        if (value > UINT32_MAX) {
            return std::nullopt;
        }
    }
    const auto result = static_cast<std::uint32_t>(value);
    return negative ? static_cast<std::uint32_t>(0u - result) : result;
}

std::uint16_t low16(std::uint32_t value) {
    return static_cast<std::uint16_t>(value & 0xFFFFu);
}

// The start of a file read up to one byte past the limit: a file that goes on
// keeps its whole lines only, since a cut line is no line.
std::vector<unsigned char> wholeLines(std::vector<unsigned char> bytes) {
    if (bytes.size() > kReadLimit) {
        const auto lastLineFeed = std::find(bytes.rbegin() + 1, bytes.rend(), '\n');
        bytes.resize(static_cast<std::size_t>(bytes.rend() - lastLineFeed));
    }
    return bytes;
}

// A save of a newer format than ours may hold what this build cannot keep, so
// it is left as it is.
bool isNewerFormat(const std::vector<std::string>& lines) {
    if (lines.size() < 2 || lines[0] != HighScoreRecord{}.magic) {
        return false;
    }
    const std::optional<std::uint32_t> version = parseNumber(lines[1]);
    return version && *version > HighScoreRecord{}.version;
}

// A link may name any file; only an existing save of ours is replaced through
// it, so a stray or dangling link can never overwrite or create somebody's file.
bool isSave(const SaveTarget& target) {
    std::vector<unsigned char> bytes;
    if (!readTarget(target, kReadLimit, bytes)) {
        return false;
    }
    const std::vector<std::string> lines = splitNonEmptyLines(bytes);
    return !lines.empty() && lines[0] == HighScoreRecord{}.magic;
}

// Each result beside its stored best. Not debugging output: these three lines
// are part of what the game prints, and the unit, end-to-end and browser tests
// read them to follow a save. A closed output fails them quietly and the save
// goes on.
void traceGame(std::uint32_t score, std::uint16_t lines, std::uint16_t level,
               const HighScoreRecord& stored) {
    std::printf("%u | %u\n", score, stored.bestScore);
    std::fflush(stdout);
    std::printf("%u | %u\n", static_cast<unsigned>(lines), static_cast<unsigned>(stored.bestLines));
    std::fflush(stdout);
    std::printf("%u | %u\n", static_cast<unsigned>(level), static_cast<unsigned>(stored.bestLevel));
    std::fflush(stdout);
}

std::string joinLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\n";
    }
    return text;
}

// The game's results merged into the bests these bytes hold, written over them.
bool mergeInto(const std::vector<unsigned char>& bytes, std::uint32_t score, std::uint16_t lines,
               std::uint16_t level) {
    const HighScoreRecord stored = parseHighScore(bytes);
    traceGame(score, lines, level, stored);
    const std::vector<std::string> out = {
        stored.magic,
        std::to_string(stored.version),
        std::to_string(std::max(score, stored.bestScore)),
        std::to_string(std::max(lines, stored.bestLines)),
        std::to_string(std::max(level, stored.bestLevel)),
    };
    return !isNewerFormat(splitNonEmptyLines(bytes)) && writeLines(kFileName, out);
}

} // namespace

HighScoreRecord parseHighScore(const std::vector<unsigned char>& bytes) {
    const HighScoreRecord defaults;
    const std::vector<std::string> lines = splitNonEmptyLines(bytes);
    if (lines.size() < kLineCount || lines[0] != defaults.magic) {
        return defaults;
    }
    const std::optional<std::uint32_t> score = parseNumber(lines[2]);
    const std::optional<std::uint32_t> lineCount = parseNumber(lines[3]);
    const std::optional<std::uint32_t> level = parseNumber(lines[4]);
    if (!score || !lineCount || !level) {
        return defaults;
    }
    HighScoreRecord record;
    record.bestScore = *score;
    record.bestLines = low16(*lineCount);
    record.bestLevel = low16(*level);
    return record;
}

HighScoreRecord loadHighScore() {
    return parseHighScore(readFilePrefix(kFileName));
}

// Under the lock, so that no other Kolvex changes the file between the read
// and the replacement: each best is the higher one whoever saves last.
bool saveHighScore(std::uint32_t score, std::uint16_t lines, std::uint16_t level) {
    SaveTarget target;
    std::vector<unsigned char> bytes;
    bool saved = false;
    if (saveFileOps.locate(kFileName, target) && lockTarget(target)) {
        removeLeftovers(target);
        // Only a file that is not there counts as no bests: one that could
        // not be read may hold them still.
        if (readTarget(target, kReadLimit + 1, bytes)) {
            saved = mergeInto(wholeLines(bytes), score, lines, level);
        }
    }
    saveFileOps.release(target);
    // A page's files are in memory: only the browser's storage outlives it.
    if (saved) {
        syncBrowserStorage();
    }
    return saved;
}

std::vector<unsigned char> readFilePrefix(const std::string& path) {
    SaveTarget target;
    std::vector<unsigned char> bytes;
    if (!saveFileOps.locate(path, target) || !readTarget(target, kReadLimit + 1, bytes)) {
        bytes.clear();
    }
    saveFileOps.release(target);
    return wholeLines(bytes);
}

bool writeLines(const std::string& path, const std::vector<std::string>& lines) {
    SaveTarget target;
    bool saved = false;
    if (saveFileOps.locate(path, target) && (!target.throughLink || isSave(target))) {
        saved = replaceTarget(target, joinLines(lines));
    }
    saveFileOps.release(target);
    return saved;
}
