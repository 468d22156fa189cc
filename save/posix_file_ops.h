// The system calls a file replacement goes through on POSIX systems. They
// default to the real ones; the unit tests swap single entries to make one
// step fail or to answer as a user without write permission would.
#pragma once

#include <cstddef>

#include <sys/types.h>

struct SaveFileOps {
    int (*createExclusive)(const char* path, mode_t mode);
    ssize_t (*write)(int fd, const void* data, std::size_t size);
    int (*sync)(int fd);
    int (*chmod)(int fd, mode_t mode);
    int (*close)(int fd);
    int (*rename)(const char* from, const char* to);
    int (*unlink)(const char* path);
    int (*access)(const char* path, int mode);
    int (*syncDirectory)(const char* path);
};

extern const SaveFileOps kRealSaveFileOps;
extern SaveFileOps saveFileOps;
