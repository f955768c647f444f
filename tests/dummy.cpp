// A stand-in for the processes forcequit ends. Copied to the wanted executable name and started:
//   (no arguments)   runs until ended
//   window TITLE     also owns a hidden top-level window with that title
//   respawn PATH     starts PATH and starts it again whenever it ends, like a watchdog
//   anything else    leaves a marker file, its own path with ".ran" added, and ends: a program
//                    planted where another should have run shows that it ran
#include <windows.h>

#include <string.h>

static const char* SkipProgramName(const char* line) {
    if (*line == '"') {
        line = strchr(line + 1, '"');
        line = line ? line + 1 : "";
    } else {
        while (*line && *line != ' ')
            line++;
    }
    while (*line == ' ')
        line++;
    return line;
}

static void Respawn(const char* path) {
    for (;;) {
        char commandLine[MAX_PATH + 2];
        wsprintfA(commandLine, "\"%s\"", path);
        STARTUPINFOA si = {};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi;
        if (!CreateProcessA(path, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
            Sleep(50);
            continue;
        }
        CloseHandle(pi.hThread);
        WaitForSingleObject(pi.hProcess, INFINITE);
        CloseHandle(pi.hProcess);
    }
}

static void OwnWindow(const char* title) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "fq_dummy";
    RegisterClassA(&wc);
    CreateWindowExA(0, wc.lpszClassName, title, WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr, wc.hInstance,
                    nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0)
        DispatchMessageA(&msg);
}

static void LeaveMarker() {
    char path[MAX_PATH + 8];
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    lstrcpyA(path + length, ".ran");
    CloseHandle(CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    const char* args = SkipProgramName(GetCommandLineA());
    if (strncmp(args, "respawn ", 8) == 0)
        Respawn(args + 8);
    else if (strncmp(args, "window ", 7) == 0)
        OwnWindow(args + 7);
    else if (*args == 0)
        Sleep(INFINITE);
    else
        LeaveMarker();
    return 0;
}
