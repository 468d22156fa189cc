// Reading, merging and safely rewriting the high-score file.
#include "save/high_score.h"

#include <algorithm>
#include <fstream>
#include <optional>

#include <unistd.h>

namespace {

const char* const kFileName = "kolvex.sav";
const char* const kTempSuffix = ".tmp";
constexpr std::size_t kLineCount = 5;
// The file as written is a few dozen bytes; anything far larger is not ours,
// and reading it whole could exhaust memory.
constexpr std::streamoff kMaxFileBytes = 1 << 20;

int syncFile(std::FILE* file) {
    return fsync(fileno(file));
}

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

// Closes (when still open) and removes the half-written temporary file.
bool abandonTemp(std::FILE* file, const std::string& tempPath) {
    if (file != nullptr) {
        saveFileOps.close(file);
    }
    saveFileOps.remove(tempPath.c_str());
    return false;
}

} // namespace

const SaveFileOps kRealSaveFileOps = {std::fopen,  std::fwrite, std::fflush, syncFile,
                                      std::fclose, std::rename, std::remove};
SaveFileOps saveFileOps = kRealSaveFileOps;

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
    return parseHighScore(readWholeFile(kFileName));
}

bool saveHighScore(std::uint32_t score, std::uint16_t lines, std::uint16_t level) {
    const HighScoreRecord stored = loadHighScore();
    std::printf("%u | %u\n", score, stored.bestScore);
    std::fflush(stdout);
    std::printf("%u | %u\n", static_cast<unsigned>(lines), static_cast<unsigned>(stored.bestLines));
    std::fflush(stdout);
    std::printf("%u | %u\n", static_cast<unsigned>(level), static_cast<unsigned>(stored.bestLevel));
    std::fflush(stdout);

    const std::vector<std::string> out = {
        stored.magic,
        std::to_string(stored.version),
        std::to_string(std::max(score, stored.bestScore)),
        std::to_string(std::max(lines, stored.bestLines)),
        std::to_string(std::max(level, stored.bestLevel)),
    };
    return writeLines(kFileName, out);
}

std::vector<unsigned char> readWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) {
        return {};
    }
    const std::streamoff size = in.tellg();
    if (size <= 0 || size > kMaxFileBytes) {
        return {};
    }
    in.seekg(0);
    std::vector<unsigned char> bytes(static_cast<std::size_t>(size));
    in.read(reinterpret_cast<char*>(bytes.data()), size);
    if (in.gcount() != size) {
        return {};
    }
    return bytes;
}

bool writeLines(const std::string& path, const std::vector<std::string>& lines) {
    const std::string tempPath = path + kTempSuffix;
    std::FILE* file = saveFileOps.open(tempPath.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    for (const std::string& line : lines) {
        const std::string text = line + "\n";
        if (saveFileOps.write(text.data(), 1, text.size(), file) != text.size()) {
            return abandonTemp(file, tempPath);
        }
    }
    if (saveFileOps.flush(file) != 0 || saveFileOps.sync(file) != 0) {
        return abandonTemp(file, tempPath);
    }
    // A failed close has still released the stream; only the file remains.
    if (saveFileOps.close(file) != 0) {
        return abandonTemp(nullptr, tempPath);
    }
    if (saveFileOps.rename(tempPath.c_str(), path.c_str()) != 0) {
        return abandonTemp(nullptr, tempPath);
    }
    return true;
}
