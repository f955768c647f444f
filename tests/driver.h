// Windows-side helpers for tests that drive real processes: start and end them, place dummy
// processes under chosen executable names, find and inspect forcequit's window, send real input.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace driver {

// The folder that holds the test programs, forcequit.exe and dummy.exe (no trailing backslash).
std::string BuildDir();
std::string ProgramPath();

// A process started by a test, detached from the test's console as if started from the desktop.
// Everything started through Start is ended when the test program exits, so a failing test
// leaves nothing running for the next one.
struct Process {
    HANDLE handle = nullptr;
    DWORD pid = 0;
};

Process Start(const std::string& exe, const std::string& arguments = "", const char* directory = nullptr);
void End(Process& p);        // terminates it if still running and waits until it is gone
// Ends every process listed under `name`: for processes that ours started in turn.
void EndAllNamed(const char* name);
bool IsRunning(const Process& p);
// Waits up to `ms` for the process to end; its exit code goes to `*code`.
bool WaitExit(const Process& p, DWORD ms, DWORD* code = nullptr);

// Creates `folder` and its parents. Folders given as "C:\fq\..." live in the Wine prefix.
void MakeFolders(const std::string& folder);
// Removes a folder tree made by a test.
void RemoveTree(const std::string& folder);
bool FileExists(const std::string& path);
// The file's bytes ("(missing)" when it cannot be opened; others may keep it open for writing).
std::string ReadWholeFile(const std::string& path);
// Creates or replaces the file with these bytes.
void WriteWholeFile(const std::string& path, const std::string& data);

// Copies dummy.exe to `path` (its folder is created first), without starting it.
void PlaceDummy(const std::string& path);

// Copies dummy.exe to folder\name and starts it: a process listed under `name` that runs until
// ended. `arguments`: "" (just wait), "window TITLE" (also own a top-level window with that
// title), "respawn PATH" (start PATH again whenever it ends).
Process StartDummy(const std::string& folder, const std::string& name, const std::string& arguments = "");

// Copies forcequit.exe into `folder` (created first) and returns the copy's path.
std::string CopyProgram(const std::string& folder, const std::string& name = "forcequit.exe");

// forcequit's main window of the given process, once it is shown and the program is idle
// (its event loop runs); null after `ms` without one.
HWND WaitForMainWindow(const Process& p, DWORD ms = 15000);
HWND Control(HWND window, int row);  // a control of MainWindow by its row in the table
std::string Text(HWND hwnd);          // WM_GETTEXT, which works across processes
RECT ClientRect(HWND control);        // a control's rectangle in its parent's client pixels
// The window that has the keyboard focus in `window`'s thread.
HWND FocusOf(HWND window);

// Brings `window` to the foreground with the keyboard focus, so real input reaches it.
bool Activate(HWND window);
// Activates a window of the test program itself, taking the activation away from others.
void ActivateOwnWindow();
// Presses and releases `vk` through SendInput, with the given modifier keys held.
void PressKey(WORD vk, std::initializer_list<WORD> modifiers = {});
// Clicks the left mouse button at a screen point.
void ClickAt(POINT screen);
// Waits until the window's thread has handled everything sent to it so far.
void Settle(HWND window);

// The message box that `app` shows (a visible top-level dialog of its process); null when none
// appears within `ms`.
HWND WaitForMessageBox(const Process& app, DWORD ms = 20000);

// Watches a process from a thread of its own and answers every message box it shows with OK,
// so that a test can click (or call a command) and simply wait for it to return.
class BoxCloser {
public:
    explicit BoxCloser(DWORD pid);
    ~BoxCloser() { Stop(); }
    bool Stop();  // stops watching; true when a box was shown and closed
private:
    static DWORD WINAPI Watch(void* self);
    DWORD pid_;
    volatile LONG stop_ = 0, seen_ = 0;
    HANDLE thread_;
};

// Clicks a button as BM_CLICK does and returns once the program has handled the click; the
// time that took, in milliseconds, goes to `*elapsed`.
bool Click(HWND button, DWORD* elapsed = nullptr);

// Open handles of a process, counted by duplicating every small handle value in turn (Wine's
// GetProcessHandleCount answers 0).
int CountHandles(HANDLE process);

// Closes forcequit's window as the close box does and returns the program's exit code
// (STILL_ACTIVE when it did not end within the time limit).
DWORD CloseAndWait(Process& p, HWND window);

}  // namespace driver
