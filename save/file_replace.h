// Replacing a whole file atomically and durably: a reader sees the old bytes or
// the new ones, never a mix, and once the call has returned true a power cut
// keeps the new ones.
#pragma once

#include <string>

// `path` names the file itself, not a link to it. The new bytes go to a fresh
// temporary file beside it, which is flushed to disk and moved over `path`.
// A file this user may not write is left alone, and so is anything but a
// regular file. The permission bits of the old file are kept. On failure
// `path` is as it was (unless only the final flush of the directory failed)
// and no temporary file is left behind.
bool replaceFile(const std::string& path, const std::string& bytes);
