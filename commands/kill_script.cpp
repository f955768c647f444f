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

static void KillScriptPath(char (&out)[kMaxScriptPath]) {
    char directory[MAX_PATH];
    RunDirectory(directory);
    KillScriptPathIn(directory, out);
}

bool WriteKillScript() {
    char path[kMaxScriptPath];
    KillScriptPath(path);
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
    KillScriptPath(path);
    // The path is quoted as the one token of the command line: a folder with spaces must neither
    // break the run nor let a program planted at the part before a space run instead.
    char commandLine[kMaxScriptPath + 2];
    commandLine[0] = '"';
    size_t length = strlen(path);
    memcpy(commandLine + 1, path, length);
    commandLine[length + 1] = '"';
    commandLine[length + 2] = 0;

    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;  // the interpreter's console stays out of sight
    PROCESS_INFORMATION process;
    if (!CreateProcessA(nullptr, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    WaitForSingleObject(process.hProcess, INFINITE);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

void Pause(int milliseconds) { Sleep(milliseconds < 0 ? 0 : static_cast<DWORD>(milliseconds)); }

bool DeleteKillScript() {
    char path[kMaxScriptPath];
    KillScriptPath(path);
    return DeleteFileA(path) != FALSE;
}
