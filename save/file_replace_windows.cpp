// Atomic, durable file replacement on Windows: an exclusive temporary file in
// the same directory, flushed to disk, then moved over the target with the
// system's replace-existing move, which rename() does not do there.
#include "save/file_replace.h"

#include <string>

#include <windows.h>

namespace {

// Names are taken until one is free; a directory full of stale ones gives up.
constexpr int kTempNameAttempts = 100;

// A fresh name beside `path`, created only if nothing of that name exists.
HANDLE createTemp(const std::string& path, std::string& tempPath) {
    const std::string stem = path + "." + std::to_string(GetCurrentProcessId()) + "-";
    for (int attempt = 0; attempt < kTempNameAttempts; ++attempt) {
        tempPath = stem + std::to_string(attempt) + ".tmp";
        const HANDLE file = CreateFileA(tempPath.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS) {
            return file;
        }
    }
    return INVALID_HANDLE_VALUE;
}

bool writeAll(HANDLE file, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD written = 0;
        const auto chunk = static_cast<DWORD>(bytes.size() - done);
        if (!WriteFile(file, bytes.data() + done, chunk, &written, nullptr) || written == 0) {
            return false;
        }
        done += written;
    }
    return true;
}

bool abandon(HANDLE file, const std::string& tempPath) {
    if (file != INVALID_HANDLE_VALUE) {
        CloseHandle(file);
    }
    DeleteFileA(tempPath.c_str());
    return false;
}

} // namespace

bool replaceFile(const std::string& path, const std::string& bytes) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) {
            return false;
        }
    } else if ((attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY |
                              FILE_ATTRIBUTE_REPARSE_POINT)) != 0) {
        // A read-only file is the player's way of keeping it; a directory or a
        // link is not ours to replace.
        return false;
    }

    std::string tempPath;
    const HANDLE file = createTemp(path, tempPath);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    if (!writeAll(file, bytes) || !FlushFileBuffers(file)) {
        return abandon(file, tempPath);
    }
    if (!CloseHandle(file)) {
        return abandon(INVALID_HANDLE_VALUE, tempPath);
    }
    if (!MoveFileExA(tempPath.c_str(), path.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return abandon(INVALID_HANDLE_VALUE, tempPath);
    }
    return true;
}
