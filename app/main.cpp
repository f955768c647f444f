// Start and end of forcequit: one window whose buttons force-end a crashed game's processes.
#include <windows.h>

#include <commctrl.h>

#include "app/main_window.h"
#include "commands/kill_script.h"
#include "process/process.h"

// Shows the window, then enables each button only if its target runs right now. The states are
// written before the event loop starts, so no click can reach a button before that.
static void StartRoutine() {
    LoadWindow(MainWindow);
    SetDisabled(按钮1, !ProcessExists("TslGame.exe"));
    SetDisabled(按钮2, !ProcessExists("steam.exe"));
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
