#include "commands/kill_script.h"

#include <string.h>

static_assert(kKillScriptLength == 92 && sizeof kKillScriptName == 17, "the script and its name are fixed");

void RunDirectoryOf(const char* modulePath, UINT codePage, char* out) {
    const char* lastSeparator = nullptr;
    for (const char* p = modulePath; *p;) {
        if (IsDBCSLeadByteEx(codePage, static_cast<BYTE>(*p)) && p[1]) {
            p += 2;
            continue;
        }
        if (*p == '\\')
            lastSeparator = p;
        p++;
    }
    size_t length = lastSeparator ? static_cast<size_t>(lastSeparator - modulePath) : 0;
    memcpy(out, modulePath, length);
    out[length] = 0;
}

void RunDirectory(char (&out)[MAX_PATH]) {
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    if (length == 0 || length >= sizeof path) {
        out[0] = 0;  // no path, or one cut short: better no directory than a wrong one
        return;
    }
    RunDirectoryOf(path, CP_ACP, out);
}

void KillScriptPathIn(const char* runDirectory, char* out) {
    size_t length = strlen(runDirectory);
    memcpy(out, runDirectory, length);
    if (length)
        out[length++] = '\\';
    memcpy(out + length, kKillScriptName, sizeof kKillScriptName);
}

// False when the program's folder is unknown: a bare file name would land in whatever the
// current directory is, outside the program's folder.
static bool KillScriptPath(char (&out)[kMaxScriptPath]) {
    char directory[MAX_PATH];
    RunDirectory(directory);
    KillScriptPathIn(directory, out);
    return directory[0] != 0;
}

bool WriteKillScript() {
    char path[kMaxScriptPath];
    if (!KillScriptPath(path))
        return false;
    // No sharing while it is open: nobody else reads or writes a half-written script.
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    bool ok = WriteFile(file, kKillScriptContent, kKillScriptLength, &written, nullptr) && written == kKillScriptLength;
    return CloseHandle(file) && ok;
}

bool RunKillScript() {
    char path[kMaxScriptPath];
    char systemDirectory[MAX_PATH];
    UINT length = GetSystemDirectoryA(systemDirectory, sizeof systemDirectory);
    if (!KillScriptPath(path) || length == 0 || length >= sizeof systemDirectory)
        return false;
    // The path is quoted as the one token of the command line: a folder with spaces must neither
    // break the run nor let a program planted at the part before a space run instead.
    char commandLine[kMaxScriptPath + 2];
    size_t pathLength = strlen(path);
    commandLine[0] = '"';
    memcpy(commandLine + 1, path, pathLength);
    commandLine[pathLength + 1] = '"';
    commandLine[pathLength + 2] = 0;

    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;  // the interpreter's console stays out of sight
    PROCESS_INFORMATION process;
    // The interpreter looks for taskkill in its working directory before the system's: run it in
    // the system directory, so that a taskkill.exe, .bat or .cmd lying beside the program (in a
    // downloads folder, say) never runs in place of the system's own.
    if (!CreateProcessA(nullptr, commandLine, nullptr, nullptr, FALSE, 0, nullptr, systemDirectory, &startup,
                        &process))
        return false;
    WaitForSingleObject(process.hProcess, INFINITE);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

void Pause(int milliseconds) { Sleep(milliseconds < 0 ? 0 : static_cast<DWORD>(milliseconds)); }

bool DeleteKillScript() {
    char path[kMaxScriptPath];
    return KillScriptPath(path) && DeleteFileA(path) != FALSE;
}
