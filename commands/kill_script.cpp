#include "commands/kill_script.h"

#include <string.h>

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
