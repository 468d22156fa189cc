// The save's file-system steps on POSIX systems, all relative to one handle on
// the save's folder: a folder swapped for a link halfway through a save cannot
// send the new file anywhere else. The save lock is an advisory lock on that
// handle, so it lives only as long as the save and leaves no file behind. In
// the browser the lock is always had: a page's saves run one after another on
// its one thread, and pages merge their bests in the browser's storage.
#include "save/file_replace.h"
#include "save/save_file_ops.h"

#include <cerrno>
#include <climits>
#include <string>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A first save gets the mode fopen would give it; a replacement starts private.
constexpr mode_t kNewFileMode = 0666;
constexpr mode_t kPrivateMode = 0600;
constexpr mode_t kPermissionBits = 07777;
constexpr mode_t kAnyWriteBit = S_IWUSR | S_IWGRP | S_IWOTH;
// Longer chains of links than this are taken for a loop, as the kernel does.
constexpr int kMaxLinkDepth = 40;

int descriptor(FileHandle handle) {
    return static_cast<int>(handle);
}

void splitPath(const std::string& path, std::string& folder, std::string& name) {
    const std::size_t slash = path.rfind('/');
    folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    name = slash == std::string::npos ? path : path.substr(slash + 1);
}

// Opens `path`'s folder relative to `from` and replaces `from` with it.
bool enterFolder(int& from, const std::string& path, std::string& name) {
    std::string folderPath;
    splitPath(path, folderPath, name);
    const int folder = openat(from, folderPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (from != AT_FDCWD) {
        close(from);
    }
    from = folder;
    return folder >= 0;
}

// A link is followed only when this user or root made it, as the kernel's
// protection of shared folders such as /tmp would allow, and only by the
// handle of the folder it lies in.
bool locate(const std::string& path, SaveTarget& target) {
    int folder = AT_FDCWD;
    std::string name;
    if (!enterFolder(folder, path, name)) {
        return false;
    }
    target.folder = folder;
    for (int depth = 0; depth < kMaxLinkDepth; ++depth) {
        target.name = name;
        struct stat found {};
        if (fstatat(folder, name.c_str(), &found, AT_SYMLINK_NOFOLLOW) != 0) {
            target.exists = false;
            return errno == ENOENT;
        }
        if (!S_ISLNK(found.st_mode)) {
            target.exists = true;
            target.regular = S_ISREG(found.st_mode);
            // Without any write bit the player keeps it so (root passes every check).
            target.writable = (found.st_mode & kAnyWriteBit) != 0 &&
                              faccessat(folder, name.c_str(), W_OK, AT_EACCESS) == 0;
            target.mode = found.st_mode & kPermissionBits;
            target.owner = found.st_uid;
            target.group = found.st_gid;
            return true;
        }
        if (found.st_uid != geteuid() && found.st_uid != 0) {
            return false;
        }
        char text[PATH_MAX];
        const ssize_t length = readlinkat(folder, name.c_str(), text, sizeof text);
        if (length <= 0 || static_cast<std::size_t>(length) == sizeof text) {
            return false;
        }
        target.throughLink = true;
        const bool entered =
            enterFolder(folder, std::string(text, static_cast<std::size_t>(length)), name);
        target.folder = folder;
        if (!entered) {
            return false;
        }
    }
    return false;
}

// Each save opens the folder anew, so two saves, even of one process, hold two
// handles and exclude each other.
StepResult lock(SaveTarget& target) {
    if (flock(descriptor(target.folder), LOCK_EX | LOCK_NB) == 0) {
        return StepResult::Done;
    }
    return errno == EWOULDBLOCK || errno == EINTR ? StepResult::Busy : StepResult::Failed;
}

StepResult openForReading(const SaveTarget& target, FileHandle& file) {
    file = kNoFile;
    if (!target.exists || !target.regular) {
        return StepResult::Failed;
    }
    // Never through a link put there since, and never waiting on a FIFO.
    const int fd = openat(descriptor(target.folder), target.name.c_str(),
                          O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    struct stat opened {};
    if (fd < 0) {
        return StepResult::Failed;
    }
    if (fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode)) {
        close(fd);
        return StepResult::Failed;
    }
    file = fd;
    return StepResult::Done;
}

long readSome(FileHandle file, char* data, std::size_t size) {
    ssize_t n = 0;
    do {
        n = ::read(descriptor(file), data, size);
    } while (n < 0 && errno == EINTR);
    return static_cast<long>(n);
}

StepResult createTemp(const SaveTarget& target, const std::string& name, FileHandle& file) {
    const mode_t mode = target.exists ? kPrivateMode : kNewFileMode;
    const int fd = openat(descriptor(target.folder), name.c_str(),
                          O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
    file = fd;
    if (fd >= 0) {
        return StepResult::Done;
    }
    return errno == EEXIST ? StepResult::NameTaken : StepResult::Failed;
}

// The group first: changing it clears set-id bits, which the mode then restores.
// Only root can give the file to another owner; anyone else keeps at least
// the group when they belong to it.
bool keepAccess(const SaveTarget& target, FileHandle file) {
    const int fd = descriptor(file);
    if (fchown(fd, target.owner, target.group) != 0) {
        static_cast<void>(fchown(fd, static_cast<uid_t>(-1), target.group));
    }
    return fchmod(fd, target.mode) == 0;
}

long writeSome(FileHandle file, const char* data, std::size_t size) {
    ssize_t n = 0;
    do {
        n = ::write(descriptor(file), data, size);
    } while (n < 0 && errno == EINTR);
    return static_cast<long>(n);
}

bool syncFile(FileHandle file) {
    return fsync(descriptor(file)) == 0;
}

bool closeFile(FileHandle file) {
    return close(descriptor(file)) == 0;
}

StepResult move(const SaveTarget& target, const std::string& tempName) {
    const int folder = descriptor(target.folder);
    return renameat(folder, tempName.c_str(), folder, target.name.c_str()) == 0
               ? StepResult::Done
               : StepResult::Failed;
}

void remove(const SaveTarget& target, const std::string& name) {
    unlinkat(descriptor(target.folder), name.c_str(), 0);
}

std::vector<std::string> ownFiles(const SaveTarget& target, const std::string& prefix) {
    std::vector<std::string> names;
    const int folder = descriptor(target.folder);
    // A handle of its own: reading the entries moves it along.
    const int listed = openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* entries = listed < 0 ? nullptr : fdopendir(listed);
    if (entries == nullptr) {
        if (listed >= 0) {
            close(listed);
        }
        return names;
    }
    while (const dirent* entry = readdir(entries)) {
        const std::string name = entry->d_name;
        struct stat found {};
        if (name.compare(0, prefix.size(), prefix) == 0 &&
            fstatat(folder, name.c_str(), &found, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(found.st_mode) && found.st_uid == geteuid()) {
            names.push_back(name);
        }
    }
    closedir(entries);
    return names;
}

// Some file systems have no folder to flush and say so with EINVAL.
bool syncFolder(const SaveTarget& target) {
    return fsync(descriptor(target.folder)) == 0 || errno == EINVAL;
}

// Closing the folder's handle gives up the save lock too.
void release(SaveTarget& target) {
    if (target.folder != kNoFile) {
        close(descriptor(target.folder));
    }
    target.folder = kNoFile;
}

unsigned long processId() {
    return static_cast<unsigned long>(getpid());
}

} // namespace

const SaveFileOps kRealSaveFileOps = {
    locate,     lock,     openForReading,    readSome, createTemp, keepAccess,
    writeSome,  syncFile, closeFile,         move,     remove,     ownFiles,
    syncFolder, release,  sleepMilliseconds, processId};
SaveFileOps saveFileOps = kRealSaveFileOps;
