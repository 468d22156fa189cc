// Reading a located save and replacing it atomically and durably: a reader
// sees the old bytes or the new ones, never a mix, and once the replacement
// has returned true a power cut keeps the new ones.
#pragma once

#include "save/save_file_ops.h"

#include <string>
#include <vector>

// At most `limit` bytes from the start of the target; empty when it is not a
// regular file or cannot be read.
std::vector<unsigned char> readTarget(const SaveTarget& target, std::size_t limit);

// The new bytes go to a fresh temporary file in the target's folder, which is
// flushed, given the old file's access and moved over the target. Anything but
// a regular file this user may write is left alone. On failure the target is as
// it was (unless only the final flush of the folder failed) and no temporary
// file is left behind.
bool replaceTarget(const SaveTarget& target, const std::string& bytes);

// The real pause of the platforms' tables.
void sleepMilliseconds(int milliseconds);
