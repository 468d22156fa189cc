// The steps of a save shared by every platform: the folder's lock taken with a
// bounded wait, the old file read (again, a few times, while another program
// briefly holds it), leftovers of killed saves removed, and the replacement: a
// temporary name nobody else uses, created exclusively, written whole,
// flushed, moved over the old file (retried like the read), the folder
// flushed, and the temporary file removed on every failure.
#include "save/file_replace.h"

#include <chrono>
#include <thread>

namespace {

// Names are taken until one is free; a folder full of stale ones gives up.
constexpr int kTempNameAttempts = 100;
// Scanners and sync clients open a file for a moment: about half a second of
// patience, then the save gives up.
constexpr int kBusyAttempts = 6;
constexpr int kBusyPauseMilliseconds = 100;
// Another save holds the lock for a few milliseconds; a second and a half
// without it means something is wrong, and the game must not hang on it.
constexpr int kLockAttempts = 300;
constexpr int kLockPauseMilliseconds = 5;
// Temporary files are named <save>.<process id>-<n>.tmp.
const char* const kTempSuffix = ".tmp";

// After a busy answer: true, once paused, while tries are left.
bool mayTryAgain(int& attempt, int attempts, int pauseMilliseconds) {
    if (++attempt >= attempts) {
        return false;
    }
    saveFileOps.pause(pauseMilliseconds);
    return true;
}

bool allDigits(const std::string& text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string::npos;
}

// A name of the temporary files' pattern, whichever process made it.
bool isTempName(const std::string& name, const std::string& saveName) {
    const std::string stem = saveName + ".";
    const std::size_t suffixLength = std::char_traits<char>::length(kTempSuffix);
    if (name.size() < stem.size() + suffixLength || name.compare(0, stem.size(), stem) != 0 ||
        name.compare(name.size() - suffixLength, suffixLength, kTempSuffix) != 0) {
        return false;
    }
    const std::string middle = name.substr(stem.size(), name.size() - stem.size() - suffixLength);
    const std::size_t dash = middle.find('-');
    return dash != std::string::npos && allDigits(middle.substr(0, dash)) &&
           allDigits(middle.substr(dash + 1));
}

bool createTemp(const SaveTarget& target, std::string& tempName, FileHandle& file) {
    const std::string stem = target.name + "." + std::to_string(saveFileOps.processId()) + "-";
    for (int attempt = 0; attempt < kTempNameAttempts; ++attempt) {
        tempName = stem + std::to_string(attempt) + kTempSuffix;
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
    StepResult result = StepResult::Failed;
    int attempt = 0;
    do {
        result = saveFileOps.move(target, tempName);
    } while (result == StepResult::Busy &&
             mayTryAgain(attempt, kBusyAttempts, kBusyPauseMilliseconds));
    return result == StepResult::Done;
}

bool abandon(const SaveTarget& target, const std::string& tempName) {
    saveFileOps.remove(target, tempName);
    return false;
}

} // namespace

bool lockTarget(SaveTarget& target) {
    StepResult result = StepResult::Failed;
    int attempt = 0;
    do {
        result = saveFileOps.lock(target);
    } while (result == StepResult::Busy &&
             mayTryAgain(attempt, kLockAttempts, kLockPauseMilliseconds));
    return result == StepResult::Done;
}

bool readTarget(const SaveTarget& target, std::size_t limit, std::vector<unsigned char>& bytes) {
    bytes.clear();
    if (!target.exists) {
        return true;
    }
    FileHandle file = kNoFile;
    StepResult opened = StepResult::Failed;
    int attempt = 0;
    do {
        opened = saveFileOps.openForReading(target, file);
    } while (opened == StepResult::Busy &&
             mayTryAgain(attempt, kBusyAttempts, kBusyPauseMilliseconds));
    if (opened != StepResult::Done) {
        return false;
    }
    bytes.resize(limit);
    std::size_t done = 0;
    long n = 1;
    while (done < limit && n > 0) {
        n = saveFileOps.read(file, reinterpret_cast<char*>(bytes.data()) + done, limit - done);
        done += n > 0 ? static_cast<std::size_t>(n) : 0;
    }
    saveFileOps.close(file);
    bytes.resize(n < 0 ? 0 : done);
    return n >= 0;
}

void removeLeftovers(const SaveTarget& target) {
    for (const std::string& name : saveFileOps.ownFiles(target, target.name + ".")) {
        if (isTempName(name, target.name)) {
            saveFileOps.remove(target, name);
        }
    }
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
