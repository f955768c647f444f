// The batch script that ends the game's processes: where it lives, its bytes, and the steps that
// write, run and delete it. Every step works out the path afresh from the program's folder.
#pragma once

#include <windows.h>

#include <stddef.h>

// "强制结束PUBG.bat": 16 bytes in GBK.
inline constexpr char kKillScriptName[] = "强制结束PUBG.bat";

// Three taskkill lines joined by CR LF, with none after the last: exactly 92 bytes, no NUL.
inline constexpr char kKillScriptContent[] =
    "taskkill /f /im TslGame.exe\r\n"
    "taskkill /f /im TslGame_BE.exe\r\n"
    "taskkill /f /im iigw_server.exe";
inline constexpr size_t kKillScriptLength = sizeof kKillScriptContent - 1;

// Room for any script path: a directory of up to MAX_PATH bytes, a backslash and the name.
constexpr size_t kMaxScriptPath = MAX_PATH + sizeof kKillScriptName;

// Writes to `out` (room for strlen(modulePath) + 1 bytes) the directory part of `modulePath`:
// everything before its last backslash, or "" when there is none. The path is read character by
// character in `codePage`, so the trail byte of a double-byte character (GBK's 0x81 0x5C, say)
// is never taken for a backslash.
void RunDirectoryOf(const char* modulePath, UINT codePage, char* out);

// The directory that holds this executable, without a trailing backslash ("" if unknown).
void RunDirectory(char (&out)[MAX_PATH]);

// The script's path inside `runDirectory`: the directory, a backslash, the name; just the name
// when the directory is "". `out` needs room for strlen(runDirectory) + 18 bytes.
void KillScriptPathIn(const char* runDirectory, char* out);

// Creates or empties the script file and writes the script. False if any of that failed, or if
// the program's folder is unknown.
bool WriteKillScript();
// Runs the script hidden through the command interpreter, in the system directory, and waits
// without limit until it has ended. False when it could not be started.
bool RunKillScript();
// Sleeps for `milliseconds`; a negative count counts as 0.
void Pause(int milliseconds);
// Deletes the script file.
bool DeleteKillScript();
