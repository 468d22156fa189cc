// The save's file-system steps on Windows. The old file is replaced with the
// system's own replacement, which keeps its security, and a
// replacement that meets a file another program holds open for a moment is
// reported busy so that it is tried again. Links are not followed: a save that
// is a link is left alone. The save lock is a file beside the save that one
// process at a time can open, and that goes when it is closed.
#include "save/file_replace.h"
#include "save/save_file_ops.h"

#include <string>
#include <vector>

#include <windows.h>

#include <aclapi.h>

namespace {

const char* const kLockSuffix = ".lock";
constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                  FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

HANDLE handleOf(FileHandle file) {
    return reinterpret_cast<HANDLE>(file);
}

FileHandle fileOf(HANDLE handle) {
    return handle == INVALID_HANDLE_VALUE ? kNoFile : reinterpret_cast<FileHandle>(handle);
}

std::string pathIn(const SaveTarget& target, const std::string& name) {
    return target.folderPath + "\\" + name;
}

bool locate(const std::string& path, SaveTarget& target) {
    const std::size_t slash = path.find_last_of("\\/");
    target.folderPath = slash == std::string::npos ? "." : path.substr(0, slash);
    target.name = slash == std::string::npos ? path : path.substr(slash + 1);
    const DWORD attributes = GetFileAttributesA(pathIn(target, target.name).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        target.exists = false;
        return GetLastError() == ERROR_FILE_NOT_FOUND;
    }
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        return false;
    }
    target.exists = true;
    target.regular = (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) == 0;
    // A read-only file is the player's way of keeping it.
    target.writable = (attributes & FILE_ATTRIBUTE_READONLY) == 0;
    target.mode = attributes;
    return true;
}

// A scanner or a sync client holding a file answers "sharing violation", and a
// file on its way out "access denied": both go by in a moment.
StepResult failure(DWORD error) {
    return error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED ? StepResult::Busy
                                                                            : StepResult::Failed;
}

// Opened without sharing, the file keeps every other save out; closed, even by
// the end of a killed process, it is deleted.
StepResult lock(SaveTarget& target) {
    const HANDLE file = CreateFileA(pathIn(target, target.name + kLockSuffix).c_str(),
                                    GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return failure(GetLastError());
    }
    target.lock = fileOf(file);
    return StepResult::Done;
}

StepResult openForReading(const SaveTarget& target, FileHandle& file) {
    file = kNoFile;
    if (!target.exists || !target.regular) {
        return StepResult::Failed;
    }
    const HANDLE opened =
        CreateFileA(pathIn(target, target.name).c_str(), GENERIC_READ,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                    FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (opened == INVALID_HANDLE_VALUE) {
        return failure(GetLastError());
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (GetFileType(opened) != FILE_TYPE_DISK || !GetFileInformationByHandle(opened, &info) ||
        (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != 0) {
        CloseHandle(opened);
        return StepResult::Failed;
    }
    file = fileOf(opened);
    return StepResult::Done;
}

long readSome(FileHandle file, char* data, std::size_t size) {
    DWORD done = 0;
    if (!ReadFile(handleOf(file), data, static_cast<DWORD>(size), &done, nullptr)) {
        return -1;
    }
    return static_cast<long>(done);
}

// A name in use answers "exists", or "access denied" when it is a folder or a
// file being deleted: either way the next name is tried.
StepResult createTemp(const SaveTarget& target, const std::string& name, FileHandle& file) {
    const HANDLE created = CreateFileA(pathIn(target, name).c_str(), GENERIC_WRITE, 0, nullptr,
                                       CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    file = fileOf(created);
    if (created != INVALID_HANDLE_VALUE) {
        return StepResult::Done;
    }
    const DWORD error = GetLastError();
    return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS ||
                   error == ERROR_ACCESS_DENIED
               ? StepResult::NameTaken
               : StepResult::Failed;
}

// The system's replacement carries the old file's security over; its
// attributes (a hidden save stays hidden) are set here, where every
// implementation of that replacement keeps them.
bool keepAccess(const SaveTarget& target, FileHandle file) {
    FILE_BASIC_INFO info{};
    info.FileAttributes = target.mode & kKeptAttributes;
    if (info.FileAttributes == 0) {
        info.FileAttributes = FILE_ATTRIBUTE_NORMAL;
    }
    return SetFileInformationByHandle(handleOf(file), FileBasicInfo, &info, sizeof info) != 0;
}

long writeSome(FileHandle file, const char* data, std::size_t size) {
    DWORD done = 0;
    if (!WriteFile(handleOf(file), data, static_cast<DWORD>(size), &done, nullptr)) {
        return -1;
    }
    return static_cast<long>(done);
}

bool syncFile(FileHandle file) {
    return FlushFileBuffers(handleOf(file)) != 0;
}

bool closeFile(FileHandle file) {
    return CloseHandle(handleOf(file)) != 0;
}

StepResult move(const SaveTarget& target, const std::string& tempName) {
    const std::string path = pathIn(target, target.name);
    const std::string temp = pathIn(target, tempName);
    if (target.exists) {
        if (ReplaceFileA(path.c_str(), temp.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS,
                         nullptr, nullptr)) {
            return StepResult::Done;
        }
        // Gone since it was found, or removed by the replacement without the new
        // file taking its place: only a plain move can still keep the new bests.
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_NOT_FOUND && error != ERROR_UNABLE_TO_MOVE_REPLACEMENT) {
            return failure(error);
        }
    }
    if (MoveFileExA(temp.c_str(), path.c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return StepResult::Done;
    }
    return failure(GetLastError());
}

void remove(const SaveTarget& target, const std::string& name) {
    DeleteFileA(pathIn(target, name).c_str());
}

// This user's SID and the one this process makes the owner of the files it
// creates (for an administrator, often the administrators' group), as bytes.
std::vector<std::vector<unsigned char>> ourOwners() {
    std::vector<std::vector<unsigned char>> owners;
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) {
        return owners;
    }
    for (const TOKEN_INFORMATION_CLASS kind : {TokenUser, TokenOwner}) {
        DWORD size = 0;
        GetTokenInformation(token, kind, nullptr, 0, &size);
        std::vector<unsigned char> info(size);
        if (size == 0 || !GetTokenInformation(token, kind, info.data(), size, &size)) {
            continue;
        }
        // Both answers start with the SID's address.
        const PSID sid = *reinterpret_cast<PSID*>(info.data());
        const auto* bytes = static_cast<const unsigned char*>(sid);
        owners.emplace_back(bytes, bytes + GetLengthSid(sid));
    }
    CloseHandle(token);
    return owners;
}

bool ownedByUs(const std::string& path, std::vector<std::vector<unsigned char>>& owners) {
    PSID fileOwner = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetNamedSecurityInfoA(path.c_str(), SE_FILE_OBJECT, OWNER_SECURITY_INFORMATION, &fileOwner,
                              nullptr, nullptr, nullptr, &descriptor) != ERROR_SUCCESS) {
        return false;
    }
    bool ours = false;
    for (std::vector<unsigned char>& owner : owners) {
        ours = ours || EqualSid(fileOwner, owner.data());
    }
    LocalFree(descriptor);
    return ours;
}

std::vector<std::string> ownFiles(const SaveTarget& target, const std::string& prefix) {
    std::vector<std::string> names;
    std::vector<std::vector<unsigned char>> owners = ourOwners();
    WIN32_FIND_DATAA found{};
    const HANDLE search = FindFirstFileA(pathIn(target, prefix + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return names;
    }
    do {
        const std::string name = found.cFileName;
        constexpr DWORD kNotPlain =
            FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE;
        if ((found.dwFileAttributes & kNotPlain) == 0 &&
            name.compare(0, prefix.size(), prefix) == 0 &&
            ownedByUs(pathIn(target, name), owners)) {
            names.push_back(name);
        }
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

// Windows has no flush for a folder; its file system journals the move itself.
bool syncFolder(const SaveTarget&) {
    return true;
}

void release(SaveTarget& target) {
    if (target.lock != kNoFile) {
        CloseHandle(handleOf(target.lock));
    }
    target.lock = kNoFile;
}

unsigned long processId() {
    return GetCurrentProcessId();
}

} // namespace

const SaveFileOps kRealSaveFileOps = {
    locate,     lock,     openForReading,    readSome, createTemp, keepAccess,
    writeSome,  syncFile, closeFile,         move,     remove,     ownFiles,
    syncFolder, release,  sleepMilliseconds, processId};
SaveFileOps saveFileOps = kRealSaveFileOps;
