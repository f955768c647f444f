// Start and end of forcequit: one window whose buttons force-end a crashed game's processes.
// The manifest names Common Controls 6, so the system takes the Button and Edit classes from it
// (visual styles) when the first is created; no other common control is used, so the program
// neither calls InitCommonControls nor loads comctl32 at start.
#include <windows.h>

#include "app/main_window.h"
#include "commands/kill_script.h"
#include "process/process.h"

// Enables each button only if its target runs right now; one look at the process table answers
// both, and if it cannot be read both stay disabled.
static void WriteButtonStates() {
    const char* const targets[] = {"TslGame.exe", "steam.exe"};
    bool running[2];
    LookUpProcesses(targets, 2, running);
    SetDisabled(按钮1, !running[0]);
    SetDisabled(按钮2, !running[1]);
}

// The states are written before the window shows: the user never sees a button change state,
// the focus goes straight to a usable button, and no click can come before the states.
static void StartRoutine() {
    LoadWindow(MainWindow, WriteButtonStates);
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // The program works in its own folder, whatever folder it was started from.
    char directory[MAX_PATH];
    RunDirectory(directory);
    SetCurrentDirectoryA(directory);
    StartRoutine();
    return RunEventLoop();
}
