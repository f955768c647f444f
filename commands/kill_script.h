// The batch script that ends the game's processes, and where it lives.
#pragma once

#include <windows.h>

// Writes to `out` (room for strlen(modulePath) + 1 bytes) the directory part of `modulePath`:
// everything before its last backslash, or "" when there is none. The path is read character by
// character in `codePage`, so the trail byte of a double-byte character (GBK's 0x81 0x5C, say)
// is never taken for a backslash.
void RunDirectoryOf(const char* modulePath, UINT codePage, char* out);

// The directory that holds this executable, without a trailing backslash ("" if unknown).
void RunDirectory(char (&out)[MAX_PATH]);
