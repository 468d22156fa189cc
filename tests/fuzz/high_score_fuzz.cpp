// Fuzzes the high-score reader: any bytes must give either the defaults or the
// values an independent, deliberately plain reading of the same bytes gives.
#include "save/high_score.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace {

const char* const kSpaces = " \t\n\v\f\r";
const char* const kDigits = "0123456789";
constexpr std::size_t kMaxDigits = 10;
constexpr unsigned long long kMax32 = 4294967295ull;

std::optional<std::uint32_t> expectedNumber(const std::string& line) {
    std::size_t start = line.find_first_not_of(kSpaces);
    if (start == std::string::npos) {
        return std::nullopt;
    }
    const bool negative = line[start] == '-';
    if (line[start] == '-' || line[start] == '+') {
        ++start;
    }
    const std::size_t end = std::min(line.find_first_not_of(kDigits, start), line.size());
    if (end == start) {
        return std::nullopt;
    }
    std::string digits = line.substr(start, end - start);
    digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size() - 1));
    if (digits.size() > kMaxDigits) {
        return std::nullopt;
    }
    const unsigned long long magnitude = std::stoull(digits);
    if (magnitude > kMax32) {
        return std::nullopt;
    }
    const auto value = static_cast<std::uint32_t>(magnitude);
    return negative ? static_cast<std::uint32_t>(-static_cast<std::int64_t>(value)) : value;
}

HighScoreRecord expectedRecord(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line, '\n');) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (!line.empty()) {
            lines.push_back(line);
        }
    }
    HighScoreRecord record;
    if (lines.size() < 5 || lines[0] != "SAV") {
        return record;
    }
    const auto score = expectedNumber(lines[2]);
    const auto lineCount = expectedNumber(lines[3]);
    const auto level = expectedNumber(lines[4]);
    if (score && lineCount && level) {
        record.bestScore = *score;
        record.bestLines = static_cast<std::uint16_t>(*lineCount % 65536u);
        record.bestLevel = static_cast<std::uint16_t>(*level % 65536u);
    }
    return record;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<unsigned char> bytes(data, data + size);
    const HighScoreRecord got = parseHighScore(bytes);
    const HighScoreRecord want = expectedRecord(std::string(bytes.begin(), bytes.end()));
    if (got.magic != "SAV" || got.version != 1 || got.bestScore != want.bestScore ||
        got.bestLines != want.bestLines || got.bestLevel != want.bestLevel) {
        std::abort();
    }
    return 0;
}
