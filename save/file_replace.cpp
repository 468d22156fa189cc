// The steps of a save shared by every platform: a temporary name nobody else
// uses, created exclusively, written whole, flushed, moved over the old file
// (again, a few times, while another program briefly holds it), the folder
// flushed, and the temporary file removed on every failure.
#include "save/file_replace.h"

#include <chrono>
#include <thread>

namespace {

// Names are taken until one is free; a folder full of stale ones gives up.
constexpr int kTempNameAttempts = 100;
// Scanners and sync clients open a new file for a moment: about half a second
// of patience, then the save gives up.
constexpr int kMoveAttempts = 6;
constexpr int kMovePauseMilliseconds = 100;

bool createTemp(const SaveTarget& target, std::string& tempName, FileHandle& file) {
    const std::string stem = target.name + "." + std::to_string(saveFileOps.processId()) + "-";
    for (int attempt = 0; attempt < kTempNameAttempts; ++attempt) {
        tempName = stem + std::to_string(attempt) + ".tmp";
        const StepResult result = saveFileOps.createTemp(target, tempName, file);
        if (result != StepResult::NameTaken) {
            return result == StepResult::Done;
        }
    }
    return false;
}

bool writeAll(FileHandle file, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const long n = saveFileOps.write(file, bytes.data() + done, bytes.size() - done);
        if (n <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

bool moveOver(const SaveTarget& target, const std::string& tempName) {
    for (int attempt = 1;; ++attempt) {
        const StepResult result = saveFileOps.move(target, tempName);
        if (result != StepResult::Busy || attempt == kMoveAttempts) {
            return result == StepResult::Done;
        }
        saveFileOps.pause(kMovePauseMilliseconds);
    }
}

bool abandon(const SaveTarget& target, const std::string& tempName) {
    saveFileOps.remove(target, tempName);
    return false;
}

} // namespace

std::vector<unsigned char> readTarget(const SaveTarget& target, std::size_t limit) {
    const FileHandle file = saveFileOps.openForReading(target);
    if (file == kNoFile) {
        return {};
    }
    std::vector<unsigned char> bytes(limit);
    std::size_t done = 0;
    while (done < limit) {
        const long n =
            saveFileOps.read(file, reinterpret_cast<char*>(bytes.data()) + done, limit - done);
        if (n < 0) {
            done = 0;
        }
        if (n <= 0) {
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    saveFileOps.close(file);
    bytes.resize(done);
    return bytes;
}

bool replaceTarget(const SaveTarget& target, const std::string& bytes) {
    if (target.exists && (!target.regular || !target.writable)) {
        return false;
    }
    std::string tempName;
    FileHandle file = kNoFile;
    if (!createTemp(target, tempName, file)) {
        return false;
    }
    // The old file's access only once the bytes are down: until then the new
    // file is this user's alone.
    const bool written = writeAll(file, bytes) && saveFileOps.sync(file) &&
                         (!target.exists || saveFileOps.keepAccess(target, file));
    // A failed close has still released the handle; only the file remains.
    if (!saveFileOps.close(file) || !written || !moveOver(target, tempName)) {
        return abandon(target, tempName);
    }
    return saveFileOps.syncFolder(target);
}

void sleepMilliseconds(int milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}
