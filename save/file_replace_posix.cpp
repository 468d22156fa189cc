// Atomic, durable file replacement on POSIX systems: an exclusive temporary
// file in the same directory, flushed, renamed over the target, and the
// directory flushed so the rename itself survives a power cut.
#include "save/file_replace.h"
#include "save/posix_file_ops.h"

#include <cerrno>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The mode a newly created file gets before the umask, as fopen would give it.
constexpr mode_t kNewFileMode = 0666;
constexpr mode_t kPermissionBits = 07777;
constexpr mode_t kAnyWriteBit = S_IWUSR | S_IWGRP | S_IWOTH;
// Names are taken until one is free; a directory full of stale ones gives up.
constexpr int kTempNameAttempts = 100;

int createExclusive(const char* path, mode_t mode) {
    return open(path, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
}

ssize_t writeSome(int fd, const void* data, std::size_t size) {
    return ::write(fd, data, size);
}

int syncDirectory(const char* path) {
    const int fd = open(path, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return -1;
    }
    // Some file systems have no directory to flush and say so with EINVAL.
    const int result = fsync(fd) == 0 || errno == EINVAL ? 0 : -1;
    close(fd);
    return result;
}

std::string directoryOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool writeAll(int fd, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = saveFileOps.write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// A fresh name beside `path`, created exclusively and never through a link, so
// nothing planted or left over under any name can catch the new bytes.
int createTemp(const std::string& path, std::string& tempPath) {
    const std::string stem = path + "." + std::to_string(getpid()) + "-";
    for (int attempt = 0; attempt < kTempNameAttempts; ++attempt) {
        tempPath = stem + std::to_string(attempt) + ".tmp";
        const int fd = saveFileOps.createExclusive(tempPath.c_str(), kNewFileMode);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    return -1;
}

bool abandon(int fd, const std::string& tempPath) {
    if (fd >= 0) {
        saveFileOps.close(fd);
    }
    saveFileOps.unlink(tempPath.c_str());
    return false;
}

} // namespace

const SaveFileOps kRealSaveFileOps = {createExclusive, writeSome, fsync,  fchmod,       close,
                                      std::rename,     unlink,    access, syncDirectory};
SaveFileOps saveFileOps = kRealSaveFileOps;

bool replaceFile(const std::string& path, const std::string& bytes) {
    struct stat old {};
    const bool exists = lstat(path.c_str(), &old) == 0;
    if (!exists && errno != ENOENT) {
        return false;
    }
    if (exists) {
        // Only a regular file is ours to replace; one without any write bit or
        // that this user may not write is the player's way of keeping it (root
        // would otherwise pass every permission check).
        if (!S_ISREG(old.st_mode) || (old.st_mode & kAnyWriteBit) == 0 ||
            saveFileOps.access(path.c_str(), W_OK) != 0) {
            return false;
        }
    }

    std::string tempPath;
    const int fd = createTemp(path, tempPath);
    if (fd < 0) {
        return false;
    }
    if (exists) {
        if (saveFileOps.chmod(fd, old.st_mode & kPermissionBits) != 0) {
            return abandon(fd, tempPath);
        }
        // Only root can keep another user's file theirs; anyone else already
        // owns what they replace, so a refusal here changes nothing.
        if (old.st_uid != geteuid() || old.st_gid != getegid()) {
            static_cast<void>(fchown(fd, old.st_uid, old.st_gid));
        }
    }
    if (!writeAll(fd, bytes) || saveFileOps.sync(fd) != 0) {
        return abandon(fd, tempPath);
    }
    // A failed close has still released the descriptor; only the file remains.
    if (saveFileOps.close(fd) != 0) {
        return abandon(-1, tempPath);
    }
    if (saveFileOps.rename(tempPath.c_str(), path.c_str()) != 0) {
        return abandon(-1, tempPath);
    }
    return saveFileOps.syncDirectory(directoryOf(path).c_str()) == 0;
}
