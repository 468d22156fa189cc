// The few file-system steps a save goes through, one set per platform. The
// shared steps (file_replace.cpp) call them only through `saveFileOps`, which
// the unit tests swap entry by entry to make a step fail, answer as another
// platform would, or change the folder in the middle of a save.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// A platform's file or folder handle (a descriptor, or a HANDLE) as a number.
using FileHandle = std::intptr_t;
constexpr FileHandle kNoFile = -1;

// Where a save really lies: its folder, opened once, and its name there, with
// what was found under that name when the folder was opened.
struct SaveTarget {
    FileHandle folder = kNoFile;
    // The save lock, where it is a handle of its own; held until `release`.
    FileHandle lock = kNoFile;
    // The folder by name, for the platforms whose calls need one.
    std::string folderPath;
    std::string name;
    // Reached through a link; such a target is written only when it is a save.
    bool throughLink = false;
    bool exists = false;
    // A regular file (nothing else is ever opened, read or replaced).
    bool regular = false;
    // This user may replace it, and it is not made read-only to keep it.
    bool writable = false;
    // What a replacement takes over where the move does not keep it by itself:
    // the permission bits, or on Windows the attributes.
    std::uint32_t mode = 0;
    std::uint32_t owner = 0;
    std::uint32_t group = 0;
};

enum class StepResult { Done, NameTaken, Busy, Failed };

struct SaveFileOps {
    // Opens the folder `path` really lies in, following a link only where this
    // platform trusts it; false when there is no such folder, or a loop.
    bool (*locate)(const std::string& path, SaveTarget& target);
    // Takes the lock that lets one save at a time into the target's folder,
    // without waiting: Busy while another save holds it. Held until `release`.
    StepResult (*lock)(SaveTarget& target);
    // The target itself, when it is a regular file, opened for reading without
    // blocking. Busy when another program holds it open for a moment.
    StepResult (*openForReading)(const SaveTarget& target, FileHandle& file);
    // At most `size` bytes; 0 at the end, -1 on an error.
    long (*read)(FileHandle file, char* data, std::size_t size);
    // A new file `name` in the target's folder, only if nothing of that name
    // exists, readable by nobody else while the target's bests are in it.
    StepResult (*createTemp)(const SaveTarget& target, const std::string& name, FileHandle& file);
    // Gives the new file the old one's group, then its permission bits (or its
    // attributes).
    bool (*keepAccess)(const SaveTarget& target, FileHandle file);
    // Some of the bytes; -1 on an error.
    long (*write)(FileHandle file, const char* data, std::size_t size);
    bool (*sync)(FileHandle file);
    bool (*close)(FileHandle file);
    // Moves `tempName` over the target, keeping what the platform keeps of the
    // old file. Busy when another program holds it open for a moment.
    StepResult (*move)(const SaveTarget& target, const std::string& tempName);
    void (*remove)(const SaveTarget& target, const std::string& name);
    // The names in the target's folder that start with `prefix` and are regular
    // files of this user's.
    std::vector<std::string> (*ownFiles)(const SaveTarget& target, const std::string& prefix);
    bool (*syncFolder)(const SaveTarget& target);
    void (*release)(SaveTarget& target);
    // The wait before trying a busy step again.
    void (*pause)(int milliseconds);
    unsigned long (*processId)();
};

extern const SaveFileOps kRealSaveFileOps;
extern SaveFileOps saveFileOps;
