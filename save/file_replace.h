// One save at a time, reading a located save and replacing it atomically and
// durably: a reader sees the old bytes or the new ones, never a mix, and once
// the replacement has returned true a power cut keeps the new ones.
#pragma once

#include "save/save_file_ops.h"

#include <string>
#include <vector>

// Takes the target folder's save lock, waiting a second or two at most for
// another save to finish; false when it is not had by then.
bool lockTarget(SaveTarget& target);

// At most `limit` bytes from the start of the target into `bytes`, retrying a
// file another program holds for a moment. A target that does not exist reads
// as no bytes; false when it exists but is not a regular file or cannot be
// opened or read.
bool readTarget(const SaveTarget& target, std::size_t limit, std::vector<unsigned char>& bytes);

// Removes this user's temporary files that an earlier save, killed halfway,
// left beside the target. Only under the lock: then no save is writing one.
void removeLeftovers(const SaveTarget& target);

// The new bytes go to a fresh temporary file in the target's folder, which is
// flushed, given the old file's access and moved over the target. Anything but
// a regular file this user may write is left alone. On failure the target is as
// it was (unless only the final flush of the folder failed) and no temporary
// file is left behind.
bool replaceTarget(const SaveTarget& target, const std::string& bytes);

// The real pause of the platforms' tables.
void sleepMilliseconds(int milliseconds);
