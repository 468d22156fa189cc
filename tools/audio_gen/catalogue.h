// The game's sound files: their names, exact lengths, and how each one is produced.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct FileSpec {
    std::string name; // without ".ogg"
    size_t frames;
};

const std::vector<FileSpec>& catalogue();

// Stable per-file stream serial so re-encoding yields identical bytes.
uint32_t streamSerial(const std::string& name);

// Writes the requested files (all when `names` is empty) into `outDir`; returns the number
// written. Prints one line of measurements per file. Throws on unknown names or I/O errors.
int generate(const std::string& outDir, const std::vector<std::string>& names);

// Writes the short tone pair used by the audio manager's intro-to-loop handover test.
void generateTestPair(const std::string& outDir);
