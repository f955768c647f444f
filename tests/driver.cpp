#include "driver.h"

#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>

namespace driver {

namespace {

// Processes started by this test program and not yet ended.
struct Started {
    std::vector<HANDLE> handles;
    ~Started() {
        for (HANDLE h : handles) {
            TerminateProcess(h, 1);
            WaitForSingleObject(h, 5000);
            CloseHandle(h);
        }
    }
} g_started;

std::string Quoted(const std::string& s) { return "\"" + s + "\""; }

void PumpOwnMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

HWND OwnWindow() {
    static HWND own = [] {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "fq_test_driver";
        RegisterClassA(&wc);
        HWND w = CreateWindowExA(WS_EX_TOOLWINDOW, wc.lpszClassName, "test driver", WS_POPUP | WS_VISIBLE, 0, 0, 40,
                                 40, nullptr, nullptr, wc.hInstance, nullptr);
        PumpOwnMessages();
        return w;
    }();
    return own;
}

HWND ActiveWindowOf(HWND window) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    return info.hwndActive;
}

template <class Condition>
bool WaitUntil(Condition condition, DWORD ms) {
    for (DWORD start = GetTickCount();;) {
        PumpOwnMessages();
        if (condition())
            return true;
        if (GetTickCount() - start > ms)
            return false;
        Sleep(20);
    }
}

}  // namespace

std::string BuildDir() {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string s = path;
    return s.substr(0, s.rfind('\\'));
}

std::string ProgramPath() { return BuildDir() + "\\forcequit.exe"; }

Process Start(const std::string& exe, const std::string& arguments, const char* directory) {
    std::string commandLine = Quoted(exe) + (arguments.empty() ? "" : " " + arguments);
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    Process p;
    if (!CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, DETACHED_PROCESS, nullptr, directory,
                        &si, &pi)) {
        std::printf("cannot start %s (error %lu)\n", exe.c_str(), GetLastError());
        return p;
    }
    CloseHandle(pi.hThread);
    p.handle = pi.hProcess;
    p.pid = pi.dwProcessId;
    g_started.handles.push_back(p.handle);
    return p;
}

void End(Process& p) {
    if (!p.handle)
        return;
    TerminateProcess(p.handle, 1);
    WaitForSingleObject(p.handle, 5000);
    auto& v = g_started.handles;
    v.erase(std::remove(v.begin(), v.end(), p.handle), v.end());
    CloseHandle(p.handle);
    p = Process{};
}

void EndAllNamed(const char* name) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 e = {};
    e.dwSize = sizeof e;
    for (BOOL ok = Process32First(snapshot, &e); ok; ok = Process32Next(snapshot, &e)) {
        if (lstrcmpiA(e.szExeFile, name) != 0)
            continue;
        if (HANDLE h = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, e.th32ProcessID)) {
            TerminateProcess(h, 1);
            WaitForSingleObject(h, 5000);
            CloseHandle(h);
        }
    }
    CloseHandle(snapshot);
}

bool IsRunning(const Process& p) { return p.handle && WaitForSingleObject(p.handle, 0) == WAIT_TIMEOUT; }

bool WaitExit(const Process& p, DWORD ms, DWORD* code) {
    if (!p.handle || WaitForSingleObject(p.handle, ms) != WAIT_OBJECT_0)
        return false;
    if (code)
        GetExitCodeProcess(p.handle, code);
    return true;
}

void MakeFolders(const std::string& folder) {
    for (size_t i = 3; i <= folder.size(); i++)
        if (i == folder.size() || folder[i] == '\\')
            CreateDirectoryA(folder.substr(0, i).c_str(), nullptr);
}

void RemoveTree(const std::string& folder) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            std::string path = folder + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path);
            } else {
                SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(path.c_str());
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    SetFileAttributesA(folder.c_str(), FILE_ATTRIBUTE_NORMAL);
    RemoveDirectoryA(folder.c_str());
}

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string ReadWholeFile(const std::string& path) {
    HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                           nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return "(missing)";
    std::string data;
    char buffer[4096];
    DWORD n;
    while (ReadFile(f, buffer, sizeof buffer, &n, nullptr) && n)
        data.append(buffer, n);
    CloseHandle(f);
    return data;
}

void WriteWholeFile(const std::string& path, const std::string& data) {
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD n;
    WriteFile(f, data.data(), static_cast<DWORD>(data.size()), &n, nullptr);
    CloseHandle(f);
}

void PlaceDummy(const std::string& path) {
    MakeFolders(path.substr(0, path.rfind('\\')));
    if (!CopyFileA((BuildDir() + "\\dummy.exe").c_str(), path.c_str(), FALSE))
        std::printf("cannot copy the dummy to %s (error %lu)\n", path.c_str(), GetLastError());
}

Process StartDummy(const std::string& folder, const std::string& name, const std::string& arguments) {
    PlaceDummy(folder + "\\" + name);
    return Start(folder + "\\" + name, arguments);
}

std::string CopyProgram(const std::string& folder, const std::string& name) {
    MakeFolders(folder);
    std::string exe = folder + "\\" + name;
    if (!CopyFileA(ProgramPath().c_str(), exe.c_str(), FALSE))
        std::printf("cannot copy the program to %s (error %lu)\n", exe.c_str(), GetLastError());
    return exe;
}

struct WindowSearch {
    DWORD pid;
    HWND found;
};

// A visible top-level window of the process, of the class `Class`.
template <const char* Class>
BOOL CALLBACK MatchWindow(HWND w, LPARAM lp) {
    auto* search = reinterpret_cast<WindowSearch*>(lp);
    DWORD pid = 0;
    char cls[32] = "";
    GetWindowThreadProcessId(w, &pid);
    GetClassNameA(w, cls, sizeof cls);
    if (pid == search->pid && IsWindowVisible(w) && lstrcmpA(cls, Class) == 0) {
        search->found = w;
        return FALSE;
    }
    return TRUE;
}

constexpr char kMainClass[] = "forcequit", kDialogClass[] = "#32770";

template <const char* Class>
HWND FindWindowOf(const Process& p) {
    WindowSearch search = {p.pid, nullptr};
    EnumWindows(MatchWindow<Class>, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForMainWindow(const Process& p, DWORD ms) {
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindWindowOf<kMainClass>(p)) != nullptr; }, ms);
    if (found) {
        // Wine may report the program idle while it is still showing its window, before the
        // event loop runs: wait for that too, then for the loop to answer.
        WaitForInputIdle(p.handle, ms);
        Settle(found);
    }
    return found;
}

HWND Control(HWND window, int row) { return GetDlgItem(window, 100 + row); }

std::string Text(HWND hwnd) {
    DWORD_PTR length = 0;
    SendMessageTimeoutA(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length);
    std::string text(length + 1, '\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutA(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]), SMTO_ABORTIFHUNG, 5000,
                        &copied);
    text.resize(copied);
    return text;
}

RECT ClientRect(HWND control) {
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

HWND FocusOf(HWND window) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    return info.hwndFocus;
}

void ActivateOwnWindow() {
    HWND own = OwnWindow();
    SetForegroundWindow(own);
    WaitUntil([&] { return GetForegroundWindow() == own; }, 3000);
}

bool Activate(HWND window) {
    // SetForegroundWindow does nothing for a window that is already active, so take the
    // activation away first, then hand it to the target and wait until its thread has it.
    ActivateOwnWindow();
    SetForegroundWindow(window);
    bool active = WaitUntil([&] { return GetForegroundWindow() == window && ActiveWindowOf(window) == window; }, 5000);
    Settle(window);  // the focus follows the activation
    return active;
}

void PressKey(WORD vk, std::initializer_list<WORD> modifiers) {
    std::vector<INPUT> inputs;
    auto key = [&](WORD k, bool up) {
        INPUT in = {};
        in.type = INPUT_KEYBOARD;
        in.ki.wVk = k;
        in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        inputs.push_back(in);
    };
    for (WORD m : modifiers)
        key(m, false);
    key(vk, false);
    key(vk, true);
    for (auto m = std::rbegin(modifiers); m != std::rend(modifiers); ++m)
        key(*m, true);
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void ClickAt(POINT screen) {
    // Real input, moving the pointer there first, and again: Wine drops a press that comes with
    // the pointer's first arrival on its desktop.
    for (DWORD flags : {MOUSEEVENTF_MOVE, MOUSEEVENTF_MOVE, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP}) {
        INPUT in = {};
        in.type = INPUT_MOUSE;
        in.mi.dx = MulDiv(screen.x, 65536, GetSystemMetrics(SM_CXSCREEN)) + 1;
        in.mi.dy = MulDiv(screen.y, 65536, GetSystemMetrics(SM_CYSCREEN)) + 1;
        in.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE;
        SendInput(1, &in, sizeof(INPUT));
        Sleep(100);
    }
}

void Settle(HWND window) {
    // Input travels through the window's queue; a sent message is answered only once the
    // program is back in its loop, so give the input time to arrive, then wait for that.
    Sleep(150);
    DWORD_PTR ignored;
    SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &ignored);
    PumpOwnMessages();
}

HWND WaitForMessageBox(const Process& app, DWORD ms) {
    HWND box = nullptr;
    WaitUntil([&] { return (box = FindWindowOf<kDialogClass>(app)) != nullptr; }, ms);
    return box;
}

BoxCloser::BoxCloser(DWORD pid) : pid_(pid) { thread_ = CreateThread(nullptr, 0, Watch, this, 0, nullptr); }

DWORD WINAPI BoxCloser::Watch(void* self) {
    auto* closer = static_cast<BoxCloser*>(self);
    while (!closer->stop_) {
        if (HWND box = FindWindowOf<kDialogClass>(Process{nullptr, closer->pid_})) {
            closer->seen_ = 1;
            PostMessageA(box, WM_COMMAND, IDOK, 0);
        }
        Sleep(50);
    }
    return 0;
}

bool BoxCloser::Stop() {
    if (thread_) {
        stop_ = 1;
        WaitForSingleObject(thread_, INFINITE);
        CloseHandle(thread_);
        thread_ = nullptr;
    }
    return seen_ != 0;
}

bool Click(HWND button, DWORD* elapsed) {
    DWORD start = GetTickCount();
    DWORD_PTR ignored;
    bool done = SendMessageTimeoutA(button, BM_CLICK, 0, 0, SMTO_NORMAL, 60000, &ignored) != 0;
    if (elapsed)
        *elapsed = GetTickCount() - start;
    return done;
}

int CountHandles(HANDLE process) {
    int count = 0;
    for (UINT_PTR value = 4; value < 0x4000; value += 4) {
        HANDLE copy;
        if (DuplicateHandle(process, reinterpret_cast<HANDLE>(value), GetCurrentProcess(), &copy, 0, FALSE,
                            DUPLICATE_SAME_ACCESS)) {
            CloseHandle(copy);
            count++;
        }
    }
    return count;
}

DWORD CloseAndWait(Process& p, HWND window) {
    PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    DWORD code = STILL_ACTIVE;
    WaitExit(p, 10000, &code);
    return code;
}

}  // namespace driver
