// Start and end of forcequit: one window whose buttons force-end a crashed game's processes.
#include <windows.h>

#include <commctrl.h>

#include "app/main_window.h"
#include "commands/kill_script.h"
#include "process/process.h"

// Shows the window, then enables each button only if its target runs right now (one look at the
// process table answers both; if it cannot be read, both stay disabled). The states are written
// before the event loop starts, so no click can reach a button before that.
static void StartRoutine() {
    LoadWindow(MainWindow);
    const char* const targets[] = {"TslGame.exe", "steam.exe"};
    bool running[2];
    LookUpProcesses(targets, 2, running);
    SetDisabled(按钮1, !running[0]);
    SetDisabled(按钮2, !running[1]);
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // The program works in its own folder, whatever folder it was started from.
    char directory[MAX_PATH];
    RunDirectory(directory);
    SetCurrentDirectoryA(directory);
    InitCommonControls();  // the visual styles of the manifest's Common Controls 6
    StartRoutine();
    return RunEventLoop();
}
