// How the process treats the memory it frees.
#pragma once

// Keeps freed memory in the process for reuse instead of handing it back to the
// system. Every game loads some 40 MB of pictures (decoded, then uploaded) and
// frees them when it ends; fresh pages from the system must be faulted in and
// cleared one by one, which made each GAME START wait about twice as long.
void keepFreedMemory();
